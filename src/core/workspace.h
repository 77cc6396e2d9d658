#pragma once
// Everything program-wide in one place: the live Surface, the setting variables, the undo stack
// and the progress state. Operations take what they need from here by reference.

#include "core/dialog_fields.h"
#include "core/erosion_fields.h"
#include "core/interpolation.h"
#include "core/kernel.h"
#include "core/noise.h"
#include "core/progress.h"
#include "core/projection_fields.h"
#include "core/random.h"
#include "core/recent_files.h"
#include "core/settings.h"
#include "core/surface.h"
#include "core/undo.h"

#include <cstdint>
#include <memory>
#include <string>

namespace korvel {

class Host;
class SettingsStore;

// State a layer above core keeps for the run (the paint layer's brushes and tools): made by that
// layer on first use, gone with the workspace.
class WorkspaceAddOn {
public:
    virtual ~WorkspaceAddOn() = default;
};

struct MuseSettings {
    int32_t ReadInfo = 0;
    int32_t SkipX = 0;
    int32_t SkipY = 0;
    int32_t XSize = 0;
    int32_t YSize = 0;
};

struct ImportSettings {
    double Radius = 50000.0;
    int32_t Width = 512;
    int32_t Height = 512;
    double NoData = -32767.0;
    std::string CDPath;
    bool Correction = false;
    int32_t Type = 0;
};

struct HexGridSettings {
    bool Draw = false;
    float Radius = 10.0f;
    float OfsX = 0.0f;
    float OfsY = 0.0f;
    int32_t Color = 16777215;
    int32_t Weight = 1;
    int32_t BColor = 0;
    int32_t BWeight = 1;
};

struct RectGridSettings {
    bool Draw = false;
    float XInterval = 20.0f;
    float YInterval = 20.0f;
    float OfsX = 0.0f;
    float OfsY = 0.0f;
    int32_t Units = 0;
    int32_t Color = 0;
    int32_t Weight = 1;
    int32_t BColor = 0;
    int32_t BWeight = 1;
};

struct MapScaleSettings {
    int32_t Type = 0;
    double Hi = 1.0;
    double Break = 0.0;
    double Lo = -1.0;
};

// The rows of the settings table that have no section.
struct GeneralSettings {
    double BaseLat = 0.0;
    double BaseLon = 0.0;
    double Val_RDegm = 111096.0;
    double ClipMin = -1.0;
    double ClipMax = 1.0;
    int32_t DispPosn = 1;
    bool ShowTimeCount = false;
    bool PreciseCursor = false;
    bool Selection = false;
    int32_t Undo = 4;
    bool UseTablet = false;
    // Minutes of unsaved work before the editor autosaves it; 0 for never.
    int32_t AutosaveMinutes = 5;
};

class Workspace {
public:
    explicit Workspace(Host& host);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Program start: loads the persisted settings, checks the size of the last run and allocates
    // the first, all-zero Surface. Returns the Resize code; unread (when given) receives the
    // stored values that did not parse.
    int32_t Start(SettingsStore& store, std::vector<SettingLoadFailure>* unread = nullptr);
    // Program exit: writes the persisted settings back. False when the store could not be saved.
    bool Finish(SettingsStore& store);

    Host& TheHost;
    Surface TheSurface;
    GeneralSettings General;
    MuseSettings Muse;
    ImportSettings Import;
    HexGridSettings Hex;
    RectGridSettings RGrid;
    InterpSettings Interp;
    MapScaleSettings MapScale;
    float WandTolerance = 1.0f;

    MdrSaveOptions MdrSave;
    RawFields Raw;
    GreyRangeFields GreyRange;
    RasterSaveFields RasterSave;
    MeshExportFields MeshExport;
    DxfContourFields DxfContours;
    Cc2ExportFields Cc2Export;
    BryceExportFields Bryce2Export;
    BryceExportFields Bryce3DExport;
    JourneyFields Journey;
    FileFields WorldBuilderMap;
    FileFields WorldBuilderClimate;
    SurfaceSizeFields NewSize;
    SurfaceEdgeFields NewEdges;
    SurfaceSizeFields CalcSize;
    SurfaceEdgeFields MapInfoEdges;
    ExponentFields Exponent;
    OffsetFields Offset;
    ReplaceFields Replace;
    ThresholdFields Threshold;
    NoiseFields NoiseOptions;
    HistogramFields Histogram;
    DeltaCodingFields DeltaCoding;
    HeightRangeFields HeightRange;
    FeatherFields Feather;
    FileFields LoadSelection;
    FileFields SaveSelection;
    ToroidalOffsetFields ToroidalOffset;
    ResampleFields ResampleTo;
    QuadResampleFields QuadResample;
    FileFields KernelLoad;
    FileFields KernelSave;
    QuiltFields Quilt;
    LightMapFields LightMap;
    SeaMaskFields SeaMask;
    ErosionFields Erosion;
    LakeFields Lakes;
    FloodFillFields FloodFill;
    WorldFloodFields WorldFlood;
    GeoidFields GeoidModel;
    FitGeoidFields FitGeoid;
    LosMaskFields LosMask;
    BinaryImportFields BinaryImport;
    FileFields ImageSubsection;
    DtedImageFields DtedImage;
    Gtopo30Fields Gtopo30;
    BackfillFields Backfill;
    ThermalFields Thermal;
    HydraulicFields Hydraulic;
    FillSinksFields FillSinksOptions;
    FlowFields Flow;
    SelectFlowFields SelectFlow;
    FileFields SaveFlow;
    GridDrawFields HexDraw;
    GridDrawFields RGridDraw;
    FileFields VectorFile;
    TextMessageFields TextMessage;
    TextMessageFields TextMessage2;
    TextMessageFields TextMessage3;
    PictureFillFields PictureFill;
    MapProjectionFields MapProjection;
    IcosahedralFields Icosahedral;

    RandomStream Random;
    // The noise tables and fractal weights, built from Random.
    NoiseBasis Noise{Random};
    // The kernel of the "General..." convolution, kept for the run.
    Kernel GeneralKernel;
    // What the last histogram command counted, for the dialog or the CLI to show.
    HistogramResult LastHistogram;
    // What the last flow accumulation kept, for saving and selecting.
    FlowGrid KeptFlow;
    // The file last opened or saved as a whole Surface, and the File menu's list.
    std::string CurrentFile;
    // What the last open or save has to say beyond success (a width cut to a multiple of 4, a
    // projected GeoTIFF, the rounding of an integer format), one line each, for the CLI to print
    // and the editor's status bar to show.
    std::vector<std::string> FileNotes;
    RecentFileList RecentFiles;

    Progress TheProgress;
    UndoStack Undo;
    SettingsTable Settings;
    // Last, so that it goes first: its tools refer to the members above.
    std::unique_ptr<WorkspaceAddOn> Painting;
};

} // namespace korvel
