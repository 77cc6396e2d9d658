#include "commands/import_commands.h"

#include "commands/file_dispatch.h"
#include "core/host.h"
#include "core/workspace.h"
#include "formats/binary_grid.h"
#include "formats/dted.h"
#include "formats/dted_area.h"
#include "formats/file_type_table.h"
#include "formats/muse_dted.h"
#include "formats/terrainbase.h"

#include <limits>

namespace korvel {

namespace {

constexpr double Any = std::numeric_limits<double>::max();
constexpr double SizeLimit = Surface::SizeLimit - 1;

template <auto Member>
DialogField BinaryField(const char* setting, const char* label, double lo = -Any, double hi = Any,
                        std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::BinaryImport, Member>(setting, label, lo, hi,
                                                          std::move(choices));
}

void PrefillBinary(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    BinaryImportFields& f = ws.BinaryImport;
    f.Top = s.Top;
    f.Left = s.Left;
    f.Right = s.Right;
    f.Bottom = s.Bottom;
}

enum LayoutStatus : int32_t {
    LayoutCancelled = -1,
    LayoutBadHeader = -2,
};

// The dialog, then the BIL header it names: 0, or why the import stops (with reason).
int32_t AskBinaryLayout(Workspace& ws, std::string* reason) {
    static const FileDialog dialog = BinaryImportDialog();
    if (!AskFileDialog(dialog, ws))
        return Refuse(reason, LayoutCancelled, "cancelled");
    BinaryImportFields& f = ws.BinaryImport;
    if (!f.BilHeader.empty() && ReadBilHeaderFile(f.BilHeader, f, reason) != 0)
        return LayoutBadHeader;
    return 0;
}

// "ReadInfo" 0 reads the whole file; otherwise the window is asked first.
bool AskReadWindow(Workspace& ws) {
    MuseSettings& m = ws.Muse;
    if (m.ReadInfo == 0) {
        m.SkipX = m.SkipY = m.XSize = m.YSize = 0;
        return true;
    }
    static const FileDialog dialog = MuseReadDialog();
    return AskFileDialog(dialog, ws);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

int32_t RunDtedImage(Workspace& ws) {
    const int32_t width = ws.Muse.XSize;
    const int32_t height = ws.Muse.YSize;
    if (width <= 0 || height <= 0) {
        ws.TheHost.ShowMessage("Unable to import 0-sized image");
        return -1;
    }
    DtedArea area;
    if (ws.Import.Type == 1) {
        area = DtedCircleArea(ws.General.BaseLat, ws.General.BaseLon, ws.Import.Radius,
                              ws.General.Val_RDegm, ws.Import.Correction);
    } else {
        const DtedImageFields& e = ws.DtedImage;
        area.Left = e.Left;
        area.Right = e.Right;
        area.Top = e.Top;
        area.Bottom = e.Bottom;
    }
    area.Width = width;
    area.Height = height;
    area.NoData = ws.Import.NoData;
    return ImportDtedArea(ws.Import.CDPath, area, ws) == 1 ? 0 : -1;
}

void PrefillDtedImage(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    ws.DtedImage = {s.Top, s.Left, s.Right, s.Bottom};
}

int32_t RunImageSubsection(Workspace& ws) {
    const std::string path = ws.ImageSubsection.Path;
    std::string reason;
    if (const int32_t code = AskBinaryLayout(ws, &reason); code != 0) {
        if (code == LayoutBadHeader)
            ws.TheHost.ShowMessage(reason);
        return code;
    }
    const int32_t code =
        ImportBinaryFile(path, ws.BinaryImport, BinaryTarget::Subsection, ws, &reason);
    if (code != 0 && code != BinaryCancelled)
        ws.TheHost.ShowMessage("Cannot import " + Quoted(path) + ": " + reason);
    return code;
}

// The sheet only collects its values: no data are read.
int32_t RunGtopo30Section(Workspace&) {
    return 0;
}

int32_t RunBackfill(Workspace& ws) {
    std::string reason;
    const int32_t code = TerrainBaseFill(ws.Backfill.Path, ws.Backfill, ws, &reason);
    if (code != 0 && code != TerrainBaseCancelled)
        ws.TheHost.ShowMessage(code == TerrainBaseBadLength
                                   ? "Cannot fill from " + Quoted(ws.Backfill.Path) + ": " + reason
                                   : reason);
    return code;
}

} // namespace

FileDialog BinaryImportDialog() {
    FileDialog dialog;
    dialog.Types = {FileBinary};
    dialog.AskedOnOpen = true;
    dialog.Group = "binary";
    dialog.Title = "Binary File Import";
    dialog.Prefill = PrefillBinary;
    dialog.Fields = {
        BinaryField<&BinaryImportFields::SampleType>(
            "binary.SampleType", "Sample type", 0, 3,
            {{0, "1 byte"}, {1, "2 byte"}, {2, "4 byte"}, {3, "4 byte, float"}}),
        BinaryField<&BinaryImportFields::LsbFirst>("binary.LsbFirst", "LSB First (Intel)"),
        BinaryField<&BinaryImportFields::Signed>("binary.Signed", "Signed"),
        BinaryField<&BinaryImportFields::LineWidth>("binary.LineWidth", "Line Width:", 0,
                                                    INT32_MAX),
        BinaryField<&BinaryImportFields::HeaderLength>("binary.HeaderLength", "Header Length:", 0,
                                                       INT32_MAX),
        BinaryField<&BinaryImportFields::FileXStart>("binary.FileXStart", "File Block X Start:", 0,
                                                     INT32_MAX),
        BinaryField<&BinaryImportFields::FileYStart>("binary.FileYStart", "File Block Y Start:", 0,
                                                     INT32_MAX),
        BinaryField<&BinaryImportFields::FileWidth>("binary.FileWidth", "File Block Width:", 0,
                                                    INT32_MAX),
        BinaryField<&BinaryImportFields::FileHeight>("binary.FileHeight", "File Block Height:", 0,
                                                     INT32_MAX),
        BinaryField<&BinaryImportFields::Top>("binary.Top", "Top"),
        BinaryField<&BinaryImportFields::Left>("binary.Left", "Left"),
        BinaryField<&BinaryImportFields::Right>("binary.Right", "Right"),
        BinaryField<&BinaryImportFields::Bottom>("binary.Bottom", "Bottom"),
        BinaryField<&BinaryImportFields::MemXStart>("binary.MemXStart", "Memory Block X Start:", 0,
                                                    SizeLimit),
        BinaryField<&BinaryImportFields::MemYStart>("binary.MemYStart", "Memory Block Y Start:", 0,
                                                    SizeLimit),
        BinaryField<&BinaryImportFields::MemWidth>("binary.MemWidth", "Memory Block Width:", 0,
                                                   SizeLimit),
        BinaryField<&BinaryImportFields::MemHeight>("binary.MemHeight", "Memory Block Height:", 0,
                                                    SizeLimit),
        BinaryField<&BinaryImportFields::BilHeader>("binary.BilHeader", "Read BIL Header..."),
    };
    return dialog;
}

FileDialog MuseReadDialog() {
    FileDialog dialog;
    dialog.Types = {FileMuseDted, FileDtedCell};
    dialog.AskedOnOpen = true;
    dialog.Group = "muse";
    dialog.Title = "Read Information";
    dialog.Fields = {{"Muse/SkipX", "Skip X:", 0, 65535},
                     {"Muse/SkipY", "Skip Y:", 0, 65535},
                     {"Muse/XSize", "X Size:", 0, 65535},
                     {"Muse/YSize", "Y Size:", 0, 65535}};
    return dialog;
}

int32_t OpenMuseDted(Workspace& ws, const std::string& path, std::string* reason) {
    if (!AskReadWindow(ws))
        return Refuse(reason, DispatchMuseCancelled, "the read window was cancelled");
    const int32_t code = ReadMuseDtedFile(path, ws, reason);
    return code == 0 ? 0 : DispatchMuseFailed;
}

int32_t OpenDtedCell(Workspace& ws, const std::string& path, std::string* reason) {
    if (!AskReadWindow(ws))
        return Refuse(reason, DispatchDtedCancelled, "the read window was cancelled");
    const int32_t code = ReadDtedCellFile(path, ws, reason);
    return code == 0 ? 0 : DispatchDtedFailed;
}

int32_t OpenBinarySurface(Workspace& ws, const std::string& path, std::string* reason) {
    if (const int32_t code = AskBinaryLayout(ws, reason); code != 0)
        return code;
    return ImportBinaryFile(path, ws.BinaryImport, BinaryTarget::WholeSurface, ws, reason);
}

void BindImportCommands(CommandTableBuilder& table) {
    table
        .BindDialog(
            CmdDtedImage, RunDtedImage, PrefillDtedImage, "dted-image",
            {{"Muse/XSize", "Width:", 1, SizeLimit},
             {"Muse/YSize", "Height:", 1, SizeLimit},
             {"Import/Type", "Import type", 0, 1, {{0, "Edges"}, {1, "Center + Radius"}}},
             RunTimeField<&Workspace::DtedImage, &DtedImageFields::Top>("dted-image.Top", "Top"),
             RunTimeField<&Workspace::DtedImage, &DtedImageFields::Left>("dted-image.Left", "Left"),
             RunTimeField<&Workspace::DtedImage, &DtedImageFields::Right>("dted-image.Right",
                                                                          "Right"),
             RunTimeField<&Workspace::DtedImage, &DtedImageFields::Bottom>("dted-image.Bottom",
                                                                           "Bottom"),
             {"BaseLat", "Lat (Y):", -90, 90},
             {"BaseLon", "Lon (X):", -360, 360},
             {"Import/Radius", "Radius:", 0, Any},
             {"Import/Correction", "&Latitude Correction"},
             {"Import/CDPath", "CD-ROM root directory"},
             {"Import/NoData", "No Data", -32768, 32767}})
        .Effect = "sizes the Surface to Width x Height and fills it from the DTED cells of a "
                  "CD-ROM (CDPath/DTED/W120/N45.DT1, listed in CDPath/TEXT/ONC.DIR)";
    table
        .BindDialog(CmdImageSubsection, RunImageSubsection, nullptr, "image-subsection",
                    {RunTimeField<&Workspace::ImageSubsection, &FileFields::Path>(
                        "image-subsection.Path", "File")})
        .Effect = "places the binary file's block (binary.* fields) into a block of the Surface "
                  "without resizing it";
    table
        .BindDialog(
            CmdGtopo30Section, RunGtopo30Section, nullptr, "gtopo30-section",
            {RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Width>("gtopo30-section.Width",
                                                                      "Width:", 1, SizeLimit),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Height>("gtopo30-section.Height",
                                                                       "Height:", 1, SizeLimit),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::DataType>(
                 "gtopo30-section.DataType", "Data type", 0, 1,
                 {{0, "16-bit signed, most significant byte first (as GTOPO30 tiles)"},
                  {1, "16-bit signed, least significant byte first"}}),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Top>("gtopo30-section.Top", "Top"),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Left>("gtopo30-section.Left",
                                                                     "Left"),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Right>("gtopo30-section.Right",
                                                                      "Right"),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Bottom>("gtopo30-section.Bottom",
                                                                       "Bottom"),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Lat>("gtopo30-section.Lat",
                                                                    "Lat (Y):", -90, 90),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Lon>("gtopo30-section.Lon",
                                                                    "Lon (X):", -360, 360),
             RunTimeField<&Workspace::Gtopo30, &Gtopo30Fields::Radius>("gtopo30-section.Radius",
                                                                       "Radius:", 0, Any)})
        .Effect = "keeps the section's settings for the run; no data are read";
    table
        .BindDialog(
            CmdBackfill, RunBackfill, nullptr, "backfill",
            {RunTimeField<&Workspace::Backfill, &BackfillFields::Path>("backfill.Path",
                                                                       "TerrainBase Path:"),
             RunTimeField<&Workspace::Backfill, &BackfillFields::Mode>(
                 "backfill.Mode", "Replace value if", 0, 2,
                 {{BackfillBelow, "Below"},
                  {BackfillAbove, "Above"},
                  {BackfillBetween, "Between"}}),
             RunTimeField<&Workspace::Backfill, &BackfillFields::Value1>("backfill.Value1",
                                                                         "Value"),
             RunTimeField<&Workspace::Backfill, &BackfillFields::Value2>("backfill.Value2", "and"),
             RunTimeField<&Workspace::Backfill, &BackfillFields::ClipLow>("backfill.ClipLow",
                                                                          "Clip result between"),
             RunTimeField<&Workspace::Backfill, &BackfillFields::ClipHigh>("backfill.ClipHigh",
                                                                           "and")})
        .Effect = "replaces the samples the mode selects (and NaN voids) by the TerrainBase "
                  "grid's elevation at their latitude and longitude, clipped";
}

} // namespace korvel
