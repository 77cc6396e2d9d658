#include "commands/area_commands.h"
#include "commands/command.h"
#include "commands/convolution_commands.h"
#include "commands/gray_map_commands.h"
#include "commands/operations.h"
#include "commands/resample_commands.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace korvel {

namespace {

// The fixed texts of one command; what runs it is bound afterwards.
struct Row {
    int32_t Id;
    const char* CliName;
    const char* MenuText;
    const char* SnapshotName;
    Refresh After;
    const char* StatusText;
};

// In menu order, then the two tool bars, then the drawing items that never got a handler.
const Row Rows[] = {
    // File
    {57600, "new", "&New...\tCtrl+N", "New Surface", Refresh::Full, ""},
    // The open dispatcher recomputes the TextureMap itself; a texture file read into it must
    // not be shaded over.
    {57601, "open", "&Open...\tCtrl+O", "", Refresh::View, ""},
    {32813, "save-as", "Save &As...\tCtrl+S", "", Refresh::None, ""},
    {32898, "dted-image", "&DTED Image...", "", Refresh::Full, ""},
    {33010, "image-subsection", "&Image Subsection...", "Image Subsection", Refresh::Full,
     "Place some or all of an input file into parts of the surface"},
    // Only collects its settings: no data are read.
    {33058, "gtopo30-section", "&GTOPO30 Section...", "GTOPO30 Import", Refresh::None, ""},
    // The climate map is the TextureMap: shown as it is, not recomputed.
    {33147, "world-builder-map", "&World Builder Map...", "", Refresh::View,
     "Import and reproject a World Builder surface and climate map"},
    {33002, "monsys-textures", "M&ONSYS Textures...", "", Refresh::View, ""},
    // Edit
    {57643, "undo", "&Undo\tCtrl+Z", "", Refresh::View, ""},
    {57644, "redo", "&Redo\tCtrl+Z", "", Refresh::View, ""},
    {33078, "flush", "&Flush", "", Refresh::None, "Clear all undo buffers"},
    // View
    {33145, "painting-tools", "&Painting Tools", "", Refresh::None, ""},
    {32844, "altitude-key", "&Altitude Key...", "", Refresh::None,
     "Display an altitude key window"},
    {32959, "zoom-full-size", "&Full Size", "", Refresh::View, ""},
    {32956, "zoom-in", "&In", "", Refresh::View, ""},
    {32957, "zoom-out", "&Out", "", Refresh::View, ""},
    {32958, "zoom-arbitrary", "&Arbitrary", "", Refresh::View, ""},
    {32852, "refresh-display", "&Refresh Display", "", Refresh::View, ""},
    // Surface
    {32820, "calculate", "Calculate &Height Field...", "Calculate", Refresh::Full,
     "Calculate a surface using the current texture options"},
    // Every frame is shaded and drawn by the journey itself.
    {33036, "journey", "&Journey Through Texture Space...", "", Refresh::None,
     "\"Animate\" a set of surface calculations"},
    {32945, "find-min-max", "&Find Min/Max...", "", Refresh::None, ""},
    {32816, "map-info", "&Map Info...", "", Refresh::None, ""},
    {32779, "size", "&Size...", "Resize", Refresh::Full, ""},
    {33030, "histogram", "&Histogram...", "", Refresh::None, ""},
    {33009, "paint", "&Paint...", "", Refresh::None, ""},
    {33061, "clone", "&Clone...", "", Refresh::None, "Copy Surface Portions"},
    {33013, "edit-paintbrush", "&Edit Paintbrush...", "", Refresh::None, ""},
    {33059, "brush-wizard", "&Brush Wizard...", "", Refresh::None, "Invoke the brush wizard"},
    // Point process
    {33007, "add-noise", "&Add Noise...", "Add Noise", Refresh::Full, ""},
    {32802, "exponent", "&Exponent...", "Exponent", Refresh::Full, ""},
    {33049, "fit-geoid", "&Fit Geoid...", "Fit Geoid", Refresh::Full, "Adjust surface for geoid"},
    {32801, "clip", "Height &Clip...", "Clip", Refresh::Full, ""},
    {32862, "offset", "&Offset...", "Offset", Refresh::Full, ""},
    {33004, "replace", "Re&place...", "Replace", Refresh::Full, ""},
    // A scaling that fails leaves nothing new to show.
    {32863, "scale", "&Scale...", "Scale", Refresh::OnSuccess, ""},
    {33005, "threshold", "&Threshold...", "Threshold", Refresh::Full, ""},
    // Area process
    {32881, "blur-some", "&Some", "Blur Some", Refresh::Full, ""},
    {32882, "blur-more", "&More", "Blur More", Refresh::Full, ""},
    {32883, "blur-lots", "&Lots", "Blur Lots", Refresh::Full, ""},
    {32890, "convolve", "&General...", "Convolution", Refresh::Full, ""},
    {32884, "sharpen-some", "&Some", "Sharpen Some", Refresh::Full, ""},
    {32885, "sharpen-more", "&More", "Sharpen More", Refresh::Full, ""},
    {32886, "sharpen-lots", "&Lots", "Sharpen Lots", Refresh::Full, ""},
    {33020, "cosine-distortion", "C&osine Distortion...", "Cosine Distortion", Refresh::Full, ""},
    {33029, "inverse-cosine", "&Inverse Cosine Distortion", "Inverse Cosine", Refresh::Full, ""},
    {32892, "fluvial", "&Fluvial...", "Fluvial Erosion", Refresh::Full,
     "Erode surface with flowing fluid"},
    {32913, "thermal", "&Thermal...", "", Refresh::None, "Erode surface using thermal erosion"},
    // A flip that fails leaves the grid as it was.
    {32887, "flip-vertical", "&Vertically", "Flip Vertical", Refresh::OnSuccess, ""},
    {32888, "flip-horizontal", "&Horizontally", "Flip Horizontal", Refresh::OnSuccess, ""},
    {32889, "flip-diagonal", "&Diagonally", "Flip Diagonal", Refresh::OnSuccess, ""},
    {33046, "quad-resample", "&Quad Resample...", "Quad Resample", Refresh::Full, ""},
    {32944, "resample", "&Resample...", "Resample", Refresh::Full, ""},
    {33060, "rotate-90", "Rotate &90 degrees", "Rotate 90", Refresh::Full, ""},
    {33019, "toroidal-offset", "&Offset...", "Rotate", Refresh::Full, ""},
    {33041, "backfill", "&TerrainBase Backfill...", "Backfill", Refresh::Full, ""},
    {33056, "xxx", "&XXX...", "XXX", Refresh::Full, "Bizarre Test Processing"},
    {33032, "flood-fill", "&Flood Fill...", "Floodfill", Refresh::Full, ""},
    // Texture: pictures drawn into the TextureMap are shown, not shaded over.
    {33055, "lighting", "&Lighting...", "", Refresh::Texture, ""},
    {32867, "height-map", "&Height Map", "", Refresh::View,
     "Draw a pure height map with full height in range 0-255."},
    {33052, "light-map", "L&ight Map", "", Refresh::View,
     "Calculate a light map from the current parms"},
    {33050, "los-mask", "&LOS Mask...", "", Refresh::View,
     "Calculates a visibility mask for a point onscreen"},
    {33039, "phase-map", "Ph&ase Map", "", Refresh::View,
     "Calculates the direction each element is facing"},
    {33040, "quilt-map", "&Quilt Map...", "", Refresh::View, "A variation on phase maps"},
    {33027, "slope-map", "S&lope Map", "", Refresh::View, ""},
    {33018, "sea-mask", "&Sea Mask...", "", Refresh::View,
     "Create black and white map showing land/sea break"},
    {33148, "neighbors-8", "&8-way Neighbors", "", Refresh::View,
     "Show local slope to each of the 8 neighbors in the cell"},
    {32822, "color-ramp", "&Color Ramp", "", Refresh::View,
     "Overlay a color ramp on the current surface (shows 256 color palette)"},
    {32806, "edge-clear", "&Clear", "", Refresh::View, ""},
    {32807, "edge-fluff", "&Fluff", "", Refresh::View, ""},
    {33045, "vector-file", "&Vector File...", "", Refresh::View, "Draw simple vector file on map"},
    // The flood and lake pictures are drawn by the commands themselves.
    {33003, "world-flood", "&World Flood...", "", Refresh::None, ""},
    {33047, "find-lakes", "&Find Lakes...", "", Refresh::None, ""},
    {33149, "drainage-areas", "&Drainage Areas...", "", Refresh::View, ""},
    {33044, "icosahedral-projection", "&Icosahedral Projection...", "", Refresh::View,
     "Resample the texture map to be an icosahedral projection"},
    {33015, "hex-grid", "&Hex Grid...", "", Refresh::View,
     "Draw a hex grid overlay on the surface"},
    {33022, "rectangular-grid", "&Rectangular Grid...", "", Refresh::View,
     "Overlay rectangular grid on the surface"},
    // Misc
    {32797, "options", "&Options...", "", Refresh::None, ""},
    {32953, "flush-abort", "&Flush Abort Command", "", Refresh::None, ""},
    {33051, "geoid-parameters", "&Geoid Parameters...", "", Refresh::None,
     "Change the current geoid parameters"},
    {33048, "map-projection", "&Map Projection...", "", Refresh::None,
     "Projects the map onto a various projections using a teeny dialog box"},
    {33038, "external-programs", "&Edit List...", "", Refresh::None, ""},
    // Select
    {33064, "select-none", "&None", "", Refresh::View, ""},
    {33065, "select-all", "&All", "", Refresh::View, ""},
    {33066, "select-inverse", "&Inverse", "", Refresh::View, ""},
    {33067, "select-height-range", "&Height Range...", "", Refresh::View, ""},
    {33068, "feather", "&Feather...", "", Refresh::View, "Blur the edges of the selection"},
    {33069, "load-selection", "&Load Selection...", "", Refresh::View, ""},
    {33070, "save-selection", "&Save Selection...", "", Refresh::None, ""},
    // Help
    {57664, "about", "&About...", "", Refresh::None, ""},
    // Main toolbar
    {32783, "tool-pan", "Pan", "", Refresh::None, ""},
    {32784, "tool-zoom", "Zoom", "", Refresh::None, ""},
    {33062, "tool-select-vectors", "Select Vectors", "", Refresh::None, ""},
    {32786, "tool-lasso-selection", "Lasso Selection", "", Refresh::None, ""},
    {32787, "tool-rectangular-selection", "Rectangular Selection", "", Refresh::None, ""},
    {32788, "tool-magic-wand", "Magic Wand Select", "", Refresh::None, ""},
    {33079, "relight", "Relight", "", Refresh::Texture, "Check Heights and Recalc Texture Map"},
    // Painting tools toolbar
    {33105, "paint-tool-paint", "Paint", "", Refresh::None,
     "Paint a given-height spot at the current mouse position"},
    {33101, "paint-tool-blur", "Blur", "", Refresh::None, "Smooth the area around the cursor"},
    {33102, "paint-tool-sharpen", "Sharpen", "", Refresh::None,
     "Increase the appearance of sharpe edges"},
    {33103, "paint-tool-dig", "Dig", "", Refresh::None, "Depress the surface under the mouse"},
    {33104, "paint-tool-raise", "Raise", "", Refresh::None, "Lift the surface under the mouse"},
    {33143, "paint-tool-erode", "Erode", "", Refresh::None, "Erode the surface under the mouse"},
    {33144, "paint-tool-add-noise", "Add Noise", "", Refresh::None,
     "Add Gaussian Noise to the surface at the mouse position"},
    {33141, "custom-brush", "Custom Brush", "", Refresh::None, "Create a custom brush"},
    {33123, "brush-square", "Square", "", Refresh::None, "Use a square brush form"},
    {33125, "brush-round", "Round", "", Refresh::None, "Use a round tool"},
    // The sizes drawn are 5, 11, 21, 31, 41 and 51 samples; the buttons name them in round tens.
    {33140, "tool-size-5", "5x5 tool", "", Refresh::None, "Set the tool size to 5x5 pixels"},
    {33139, "tool-size-10", "10x10 tool", "", Refresh::None, "Set the tool size to 10x10 pixels"},
    {33138, "tool-size-20", "20x20 tool", "", Refresh::None, "Set the tool size to 20x20 pixels"},
    {33137, "tool-size-30", "30x30 tool", "", Refresh::None, "Set the tool size to 30x30 pixels"},
    {33136, "tool-size-40", "40x40 tool", "", Refresh::None, "Set the tool size to 40x40 pixels"},
    {33135, "tool-size-50", "50x50 tool", "", Refresh::None, "Set the tool size to 50x50 pixels"},
    {33142, "tool-intensity", "Intensity", "", Refresh::None, "Set the intensity of the tool"},
    // Drawing items of the resource without a handler: shown, never enabled.
    {32955, "draw-flood-fill", "Fl&ood Fill...", "", Refresh::None, ""},
    {33023, "draw-text-message", "&Text Message...", "", Refresh::None, ""},
    {33024, "draw-text-message-2", "&Text Message...", "", Refresh::None, ""},
    {33025, "draw-text-message-3", "&Text Message...", "", Refresh::None, ""},
};

bool NeverEnabled(const Workspace&) {
    return false;
}

Command& At(std::vector<Command>& table, int32_t id) {
    return *std::ranges::find(table, id, &Command::Id);
}

void Bind(std::vector<Command>& table, int32_t id, int32_t (*run)(Workspace&),
          bool (*enabled)(const Workspace&) = nullptr) {
    Command& command = At(table, id);
    command.Run = run;
    command.Enabled = enabled;
}

void BindDialog(std::vector<Command>& table, int32_t id, int32_t (*run)(Workspace&),
                void (*prefill)(Workspace&), const char* group) {
    Command& command = At(table, id);
    command.Run = run;
    command.Prefill = prefill;
    command.Group = group;
}

std::vector<Command> BuildTable() {
    std::vector<Command> table;
    for (const Row& row : Rows) {
        Command command;
        command.Id = row.Id;
        command.CliName = row.CliName;
        command.MenuText = row.MenuText;
        command.StatusText = row.StatusText;
        command.SnapshotName = row.SnapshotName;
        command.After = row.After;
        table.push_back(std::move(command));
    }

    BindDialog(table, 57600, RunNewSurface, PrefillNewSurface, "new");
    BindDialog(table, 32779, RunSurfaceSize, PrefillSurfaceSize, "size");
    BindDialog(table, 32816, RunMapInfo, PrefillMapInfo, "map-info");
    Bind(table, 32945, RunFindMinMax);
    Bind(table, 33079, RunRelight);
    Bind(table, 32852, RunRefreshDisplay);
    Bind(table, 32953, RunFlushAbort);
    Bind(table, 32913, RunThermal);
    Bind(table, 32820, RunCalculate);
    At(table, 32820).Params = {"Surface/Type",       "Surface/RandSeed",  "Surface/Func",
                               "Surface/rf",         "Surface/irf",       "Surface/H",
                               "Surface/lacunarity", "Surface/octaves",   "Surface/offset",
                               "Surface/fgain",      "Surface/TexSphere", "Surface/xpos",
                               "Surface/ypos",       "Surface/zpos",      "Surface/xrange",
                               "Surface/yrange",     "Surface/zrange",    "MapScale/Type",
                               "MapScale/Hi",        "MapScale/Break",    "MapScale/Lo"};
    Bind(table, 57643, RunUndo, CanUndo);
    Bind(table, 57644, RunRedo, CanRedo);
    Bind(table, 33078, RunFlushUndo, CanFlushUndo);

    Bind(table, 32801, RunClip);
    At(table, 32801).Params = {"ClipMin", "ClipMax"};
    Bind(table, 32863, RunScale);
    At(table, 32863).Params = {"MapScale/Type", "MapScale/Hi", "MapScale/Break", "MapScale/Lo"};
    BindDialog(table, 32802, RunExponent, nullptr, "exponent");
    BindDialog(table, 32862, RunOffset, nullptr, "offset");
    BindDialog(table, 33004, RunReplace, nullptr, "replace");
    BindDialog(table, 33005, RunThreshold, nullptr, "threshold");
    BindDialog(table, 33007, RunAddNoise, nullptr, "add-noise");
    BindDialog(table, 33030, RunHistogram, PrefillHistogram, "histogram");
    BindDialog(table, 33056, RunDeltaCoding, nullptr, "xxx");

    Bind(table, 33064, RunSelectNone, HasSelectionMask);
    Bind(table, 33065, RunSelectAll, HasSelectionMask);
    Bind(table, 33066, RunSelectInverse, HasSelectionMask);
    BindDialog(table, 33067, RunSelectHeightRange, nullptr, "select-height-range");
    BindDialog(table, 33068, RunFeather, nullptr, "feather");
    BindDialog(table, 33069, RunLoadSelection, nullptr, "load-selection");
    BindDialog(table, 33070, RunSaveSelection, nullptr, "save-selection");
    Bind(table, 32881, RunBlurSome);
    Bind(table, 32882, RunBlurMore);
    Bind(table, 32883, RunBlurLots);
    Bind(table, 32884, RunSharpenSome);
    Bind(table, 32885, RunSharpenMore);
    Bind(table, 32886, RunSharpenLots);
    Bind(table, 32890, RunConvolveGeneral);
    Bind(table, 32887, RunFlipVertical);
    Bind(table, 32888, RunFlipHorizontal);
    Bind(table, 32889, RunFlipDiagonal);
    BindDialog(table, 33019, RunToroidalOffset, nullptr, "toroidal-offset");
    Bind(table, 33060, RunRotate90);
    Bind(table, 33020, RunCosineDistort);
    Bind(table, 33029, RunInverseCosine);
    Bind(table, 32806, RunEdgeClear);
    Bind(table, 32807, RunEdgeFluff);
    BindDialog(table, 32944, RunResample, PrefillResample, "resample");
    At(table, 32944).Params = {"Interp/Type", "Interp/Bias", "Interp/Tension"};
    BindDialog(table, 33046, RunQuadResample, nullptr, "quad-resample");
    At(table, 33046).Params = {"Interp/Type", "Interp/Bias", "Interp/Tension"};
    Bind(table, 32797, RunOptions);

    Bind(table, 33055, RunLighting);
    At(table, 33055).Params = {
        "Light/AltMode",  "Light/BitDepth", "Light/Colors",   "Light/Levels", "Light/Ambient",
        "Light/Gamma",    "Light/Unit",     "Light/VertExag", "Light/Corner", "Light/Az",
        "Light/El",       "Light/AbsColor", "Light/AbsMax",   "Light/AbsMin", "Light/SeaLevel",
        "Light/SeaEqual", "Light/SeaFloat"};
    Bind(table, 32867, RunHeightMap);
    Bind(table, 33027, RunSlopeMap);
    Bind(table, 33039, RunPhaseMap);
    BindDialog(table, 33040, RunQuiltMap, nullptr, "quilt-map");
    BindDialog(table, 33052, RunLightMap, nullptr, "light-map");
    BindDialog(table, 33018, RunSeaMask, nullptr, "sea-mask");
    Bind(table, 33148, RunEightWayNeighbors);
    Bind(table, 32822, RunColorRamp);
    At(table, 32797).Params = {"Muse/ReadInfo", "ShowTimeCount", "Selection", "PreciseCursor",
                               "DispPosn",      "Undo",          "UseTablet"};

    // The selection commands work on the mask; the selection tools would draw a new one over it.
    for (int32_t id : {33067, 33068, 33069, 33070})
        At(table, id).Enabled = HasSelectionMask;
    for (int32_t id : {33062, 32786, 32787, 32788})
        At(table, id).Enabled = HasNoSelectionMask;
    for (int32_t id : {32955, 33023, 33024, 33025})
        At(table, id).Enabled = NeverEnabled;
    return table;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

const std::vector<Command>& CommandTable() {
    static const std::vector<Command> table = BuildTable();
    return table;
}

const Command* FindCommandById(int32_t id) {
    for (const Command& command : CommandTable())
        if (command.Id == id)
            return &command;
    return nullptr;
}

const Command* FindCommandByName(const std::string& cliName) {
    for (const Command& command : CommandTable())
        if (EqualIgnoringCase(command.CliName, cliName))
            return &command;
    return nullptr;
}

} // namespace korvel
