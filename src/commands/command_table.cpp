#include "commands/area_commands.h"
#include "commands/command.h"
#include "commands/command_table_builder.h"
#include "commands/convolution_commands.h"
#include "commands/generate_commands.h"
#include "commands/geo_commands.h"
#include "commands/gray_map_commands.h"
#include "commands/import_commands.h"
#include "commands/lighting_commands.h"
#include "commands/overlay_commands.h"
#include "commands/paint_commands.h"
#include "commands/point_commands.h"
#include "commands/projection_commands.h"
#include "commands/resample_commands.h"
#include "commands/selection_commands.h"
#include "commands/sink_flow_commands.h"
#include "commands/surface_operations.h"
#include "commands/terrain_erosion_commands.h"
#include "commands/undo_operations.h"
#include "commands/water_commands.h"
#include "commands/world_builder_commands.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>

namespace korvel {

namespace {

// The fixed texts of one command; what runs it is bound by its command file.
struct Row {
    const char* Menu;
    CommandId Id;
    const char* CliName;
    const char* MenuText;
    const char* SnapshotName;
    Refresh After;
    const char* StatusText;
};

constexpr const char* FileMenu = "File";
constexpr const char* EditMenu = "Edit";
constexpr const char* ViewMenu = "View";
constexpr const char* ZoomMenu = "View > Zoom";
constexpr const char* SurfaceMenu = "Surface";
constexpr const char* PointMenu = "Surface > Point Process";
constexpr const char* AreaMenu = "Surface > Area Process";
constexpr const char* BlurMenu = "Surface > Area Process > Blur";
constexpr const char* SharpenMenu = "Surface > Area Process > Sharpen";
constexpr const char* ErosionMenu = "Surface > Area Process > Erosion";
constexpr const char* FlipMenu = "Surface > Area Process > Flip";
constexpr const char* TextureMenu = "Texture";
constexpr const char* EdgeMenu = "Texture > Edge";
constexpr const char* MiscMenu = "Misc";
constexpr const char* ExternalMenu = "Misc > External Programs";
constexpr const char* SelectMenu = "Select";
constexpr const char* HelpMenu = "Help";
constexpr const char* MainToolbar = "Main toolbar";
constexpr const char* PaintingToolbar = "Painting Tools toolbar";
constexpr const char* DrawMenu = "Draw";

// In menu order, then the two tool bars, then the Draw menu.
const Row Rows[] = {
    // File
    {FileMenu, CmdNew, "new", "&New...\tCtrl+N", "New Surface", Refresh::Full, ""},
    // The open dispatcher recomputes the TextureMap itself; a texture file read into it must
    // not be shaded over.
    {FileMenu, CmdOpen, "open", "&Open...\tCtrl+O", "", Refresh::View, ""},
    {FileMenu, CmdSaveAs, "save-as", "Save &As...\tCtrl+S", "", Refresh::None, ""},
    // The import replaces the whole Surface: it can be undone like New.
    {FileMenu, CmdDtedImage, "dted-image", "&DTED Image...", "DTED Image", Refresh::Full, ""},
    {FileMenu, CmdImageSubsection, "image-subsection", "&Image Subsection...", "Image Subsection",
     Refresh::Full, "Place some or all of an input file into parts of the surface"},
    // Only collects its settings: no data are read.
    {FileMenu, CmdGtopo30Section, "gtopo30-section", "&GTOPO30 Section...", "GTOPO30 Import",
     Refresh::None, ""},
    // The climate map is the TextureMap: shown as it is, not recomputed.
    {FileMenu, CmdWorldBuilderMap, "world-builder-map", "&World Builder Map...", "", Refresh::View,
     "Import and reproject a World Builder surface and climate map"},
    {FileMenu, CmdMonsysTextures, "monsys-textures", "M&ONSYS Textures...", "", Refresh::View, ""},
    // Edit
    {EditMenu, CmdUndo, "undo", "&Undo\tCtrl+Z", "", Refresh::View, ""},
    {EditMenu, CmdRedo, "redo", "&Redo\tCtrl+Z", "", Refresh::View, ""},
    {EditMenu, CmdFlush, "flush", "&Flush", "", Refresh::None, "Clear all undo buffers"},
    // View
    {ViewMenu, CmdPaintingTools, "painting-tools", "&Painting Tools", "", Refresh::None, ""},
    {ViewMenu, CmdAltitudeKey, "altitude-key", "&Altitude Key...", "", Refresh::None,
     "Display an altitude key window"},
    {ZoomMenu, CmdZoomFullSize, "zoom-full-size", "&Full Size", "", Refresh::View, ""},
    {ZoomMenu, CmdZoomIn, "zoom-in", "&In", "", Refresh::View, ""},
    {ZoomMenu, CmdZoomOut, "zoom-out", "&Out", "", Refresh::View, ""},
    {ZoomMenu, CmdZoomArbitrary, "zoom-arbitrary", "&Arbitrary", "", Refresh::View, ""},
    {ViewMenu, CmdRefreshDisplay, "refresh-display", "&Refresh Display", "", Refresh::View, ""},
    // Surface
    {SurfaceMenu, CmdCalculate, "calculate", "Calculate &Height Field...", "Calculate",
     Refresh::Full, "Calculate a surface using the current texture options"},
    // Every frame is shaded and drawn by the journey itself.
    {SurfaceMenu, CmdJourney, "journey", "&Journey Through Texture Space...", "", Refresh::None,
     "\"Animate\" a set of surface calculations"},
    {SurfaceMenu, CmdFindMinMax, "find-min-max", "&Find Min/Max...", "", Refresh::None, ""},
    {SurfaceMenu, CmdMapInfo, "map-info", "&Map Info...", "", Refresh::None, ""},
    {SurfaceMenu, CmdSize, "size", "&Size...", "Resize", Refresh::Full, ""},
    {SurfaceMenu, CmdHistogram, "histogram", "&Histogram...", "", Refresh::None, ""},
    {SurfaceMenu, CmdPaint, "paint", "&Paint...", "", Refresh::None, ""},
    {SurfaceMenu, CmdClone, "clone", "&Clone...", "", Refresh::None, "Copy Surface Portions"},
    {SurfaceMenu, CmdEditPaintbrush, "edit-paintbrush", "&Edit Paintbrush...", "", Refresh::None,
     ""},
    {SurfaceMenu, CmdBrushWizard, "brush-wizard", "&Brush Wizard...", "", Refresh::None,
     "Invoke the brush wizard"},
    // Point process
    {PointMenu, CmdAddNoise, "add-noise", "&Add Noise...", "Add Noise", Refresh::Full, ""},
    {PointMenu, CmdExponent, "exponent", "&Exponent...", "Exponent", Refresh::Full, ""},
    {PointMenu, CmdFitGeoid, "fit-geoid", "&Fit Geoid...", "Fit Geoid", Refresh::Full,
     "Adjust surface for geoid"},
    {PointMenu, CmdClip, "clip", "Height &Clip...", "Clip", Refresh::Full, ""},
    {PointMenu, CmdOffset, "offset", "&Offset...", "Offset", Refresh::Full, ""},
    {PointMenu, CmdReplace, "replace", "Re&place...", "Replace", Refresh::Full, ""},
    // A scaling that fails leaves nothing new to show.
    {PointMenu, CmdScale, "scale", "&Scale...", "Scale", Refresh::OnSuccess, ""},
    {PointMenu, CmdThreshold, "threshold", "&Threshold...", "Threshold", Refresh::Full, ""},
    // Area process
    {BlurMenu, CmdBlurSome, "blur-some", "&Some", "Blur Some", Refresh::Full, ""},
    {BlurMenu, CmdBlurMore, "blur-more", "&More", "Blur More", Refresh::Full, ""},
    {BlurMenu, CmdBlurLots, "blur-lots", "&Lots", "Blur Lots", Refresh::Full, ""},
    {AreaMenu, CmdConvolve, "convolve", "&General...", "Convolution", Refresh::Full, ""},
    {SharpenMenu, CmdSharpenSome, "sharpen-some", "&Some", "Sharpen Some", Refresh::Full, ""},
    {SharpenMenu, CmdSharpenMore, "sharpen-more", "&More", "Sharpen More", Refresh::Full, ""},
    {SharpenMenu, CmdSharpenLots, "sharpen-lots", "&Lots", "Sharpen Lots", Refresh::Full, ""},
    {AreaMenu, CmdCosineDistortion, "cosine-distortion", "C&osine Distortion...",
     "Cosine Distortion", Refresh::Full, ""},
    {AreaMenu, CmdInverseCosine, "inverse-cosine", "&Inverse Cosine Distortion", "Inverse Cosine",
     Refresh::Full, ""},
    // The elevations stay; a refresh would shade over the water marks the command draws.
    {ErosionMenu, CmdFluvial, "fluvial", "&Fluvial...", "Fluvial Erosion", Refresh::View,
     "Erode surface with flowing fluid"},
    {ErosionMenu, CmdThermal, "thermal", "&Thermal...", "Thermal Erosion", Refresh::Full,
     "Erode surface using thermal erosion"},
    {ErosionMenu, CmdHydraulic, "hydraulic", "&Hydraulic...", "Hydraulic Erosion", Refresh::Full,
     "Erode surface with droplets of rain"},
    {ErosionMenu, CmdFillSinks, "fill-sinks", "Fill &Sinks...", "Fill Sinks", Refresh::Full,
     "Raise pits and closed hollows until water can run off the map"},
    // A flip that fails leaves the grid as it was.
    {FlipMenu, CmdFlipVertical, "flip-vertical", "&Vertically", "Flip Vertical", Refresh::OnSuccess,
     ""},
    {FlipMenu, CmdFlipHorizontal, "flip-horizontal", "&Horizontally", "Flip Horizontal",
     Refresh::OnSuccess, ""},
    {FlipMenu, CmdFlipDiagonal, "flip-diagonal", "&Diagonally", "Flip Diagonal", Refresh::OnSuccess,
     ""},
    {AreaMenu, CmdQuadResample, "quad-resample", "&Quad Resample...", "Quad Resample",
     Refresh::Full, ""},
    {AreaMenu, CmdResample, "resample", "&Resample...", "Resample", Refresh::Full, ""},
    {AreaMenu, CmdRotate90, "rotate-90", "Rotate &90 degrees", "Rotate 90", Refresh::Full, ""},
    {AreaMenu, CmdToroidalOffset, "toroidal-offset", "&Offset...", "Rotate", Refresh::Full, ""},
    {AreaMenu, CmdBackfill, "backfill", "&TerrainBase Backfill...", "Backfill", Refresh::Full, ""},
    {AreaMenu, CmdXxx, "xxx", "&XXX...", "XXX", Refresh::Full, "Bizarre Test Processing"},
    {AreaMenu, CmdFloodFill, "flood-fill", "&Flood Fill...", "Floodfill", Refresh::Full, ""},
    // Texture: pictures drawn into the TextureMap are shown, not shaded over.
    {TextureMenu, CmdLighting, "lighting", "&Lighting...", "", Refresh::Texture, ""},
    {TextureMenu, CmdHeightMap, "height-map", "&Height Map", "", Refresh::View,
     "Draw a pure height map with full height in range 0-255."},
    {TextureMenu, CmdLightMap, "light-map", "L&ight Map", "", Refresh::View,
     "Calculate a light map from the current parms"},
    {TextureMenu, CmdLosMask, "los-mask", "&LOS Mask...", "", Refresh::View,
     "Calculates a visibility mask for a point onscreen"},
    {TextureMenu, CmdPhaseMap, "phase-map", "Ph&ase Map", "", Refresh::View,
     "Calculates the direction each element is facing"},
    {TextureMenu, CmdQuiltMap, "quilt-map", "&Quilt Map...", "", Refresh::View,
     "A variation on phase maps"},
    {TextureMenu, CmdSlopeMap, "slope-map", "S&lope Map", "", Refresh::View, ""},
    {TextureMenu, CmdSeaMask, "sea-mask", "&Sea Mask...", "", Refresh::View,
     "Create black and white map showing land/sea break"},
    {TextureMenu, CmdNeighbors8, "neighbors-8", "&8-way Neighbors", "", Refresh::View,
     "Show local slope to each of the 8 neighbors in the cell"},
    {TextureMenu, CmdColorRamp, "color-ramp", "&Color Ramp", "", Refresh::View,
     "Overlay a color ramp on the current surface (shows 256 color palette)"},
    {EdgeMenu, CmdEdgeClear, "edge-clear", "&Clear", "", Refresh::View, ""},
    {EdgeMenu, CmdEdgeFluff, "edge-fluff", "&Fluff", "", Refresh::View, ""},
    {TextureMenu, CmdVectorFile, "vector-file", "&Vector File...", "", Refresh::View,
     "Draw simple vector file on map"},
    // The flood and lake pictures are drawn by the commands themselves.
    {TextureMenu, CmdWorldFlood, "world-flood", "&World Flood...", "", Refresh::None, ""},
    {TextureMenu, CmdFindLakes, "find-lakes", "&Find Lakes...", "", Refresh::None, ""},
    {TextureMenu, CmdDrainageAreas, "drainage-areas", "&Drainage Areas...", "", Refresh::View, ""},
    {TextureMenu, CmdIcosahedralProjection, "icosahedral-projection", "&Icosahedral Projection...",
     "", Refresh::View, "Resample the texture map to be an icosahedral projection"},
    {TextureMenu, CmdHexGrid, "hex-grid", "&Hex Grid...", "", Refresh::View,
     "Draw a hex grid overlay on the surface"},
    {TextureMenu, CmdRectangularGrid, "rectangular-grid", "&Rectangular Grid...", "", Refresh::View,
     "Overlay rectangular grid on the surface"},
    {TextureMenu, CmdFlowAccumulation, "flow-accumulation", "Flow &Accumulation...", "",
     Refresh::View, "Show how much water runs through each sample"},
    {TextureMenu, CmdSaveFlow, "save-flow", "Save Flow &Grid...", "", Refresh::None,
     "Save the kept flow grid as a surface file"},
    // Misc
    {MiscMenu, CmdOptions, "options", "&Options...", "", Refresh::None, ""},
    {MiscMenu, CmdFlushAbort, "flush-abort", "&Flush Abort Command", "", Refresh::None, ""},
    {MiscMenu, CmdGeoidParameters, "geoid-parameters", "&Geoid Parameters...", "", Refresh::None,
     "Change the current geoid parameters"},
    {MiscMenu, CmdMapProjection, "map-projection", "&Map Projection...", "", Refresh::None,
     "Projects the map onto a various projections using a teeny dialog box"},
    {ExternalMenu, CmdExternalPrograms, "external-programs", "&Edit List...", "", Refresh::None,
     ""},
    // Select
    {SelectMenu, CmdSelectNone, "select-none", "&None", "", Refresh::View, ""},
    {SelectMenu, CmdSelectAll, "select-all", "&All", "", Refresh::View, ""},
    {SelectMenu, CmdSelectInverse, "select-inverse", "&Inverse", "", Refresh::View, ""},
    {SelectMenu, CmdSelectHeightRange, "select-height-range", "&Height Range...", "", Refresh::View,
     ""},
    {SelectMenu, CmdFeather, "feather", "&Feather...", "", Refresh::View,
     "Blur the edges of the selection"},
    {SelectMenu, CmdLoadSelection, "load-selection", "&Load Selection...", "", Refresh::View, ""},
    {SelectMenu, CmdSaveSelection, "save-selection", "&Save Selection...", "", Refresh::None, ""},
    {SelectMenu, CmdSelectFlow, "select-flow", "Where &Flow...", "", Refresh::View,
     "Select the samples where the kept flow exceeds a threshold"},
    // Help
    {HelpMenu, CmdAbout, "about", "&About...", "", Refresh::None, ""},
    // Main toolbar
    {MainToolbar, CmdToolPan, "tool-pan", "Pan", "", Refresh::None, ""},
    {MainToolbar, CmdToolZoom, "tool-zoom", "Zoom", "", Refresh::None, ""},
    {MainToolbar, CmdToolSelectVectors, "tool-select-vectors", "Select Vectors", "", Refresh::None,
     ""},
    {MainToolbar, CmdToolLassoSelection, "tool-lasso-selection", "Lasso Selection", "",
     Refresh::None, ""},
    {MainToolbar, CmdToolRectangularSelection, "tool-rectangular-selection",
     "Rectangular Selection", "", Refresh::None, ""},
    {MainToolbar, CmdToolMagicWand, "tool-magic-wand", "Magic Wand Select", "", Refresh::None, ""},
    {MainToolbar, CmdRelight, "relight", "Relight", "", Refresh::Texture,
     "Check Heights and Recalc Texture Map"},
    // Painting tools toolbar
    {PaintingToolbar, CmdPaintToolPaint, "paint-tool-paint", "Paint", "", Refresh::None,
     "Paint a given-height spot at the current mouse position"},
    {PaintingToolbar, CmdPaintToolBlur, "paint-tool-blur", "Blur", "", Refresh::None,
     "Smooth the area around the cursor"},
    {PaintingToolbar, CmdPaintToolSharpen, "paint-tool-sharpen", "Sharpen", "", Refresh::None,
     "Increase the appearance of sharpe edges"},
    {PaintingToolbar, CmdPaintToolDig, "paint-tool-dig", "Dig", "", Refresh::None,
     "Depress the surface under the mouse"},
    {PaintingToolbar, CmdPaintToolRaise, "paint-tool-raise", "Raise", "", Refresh::None,
     "Lift the surface under the mouse"},
    {PaintingToolbar, CmdPaintToolErode, "paint-tool-erode", "Erode", "", Refresh::None,
     "Erode the surface under the mouse"},
    {PaintingToolbar, CmdPaintToolAddNoise, "paint-tool-add-noise", "Add Noise", "", Refresh::None,
     "Add Gaussian Noise to the surface at the mouse position"},
    {PaintingToolbar, CmdPaintToolThermalErode, "paint-tool-thermal-erode", "Thermal Erode", "",
     Refresh::None,
     "Weather the slopes under the mouse down to the talus angle of the Thermal dialog"},
    {PaintingToolbar, CmdPaintToolHydraulicErode, "paint-tool-hydraulic-erode", "Hydraulic Erode",
     "", Refresh::None, "Rain on the surface under the mouse with the Hydraulic dialog's drops"},
    {PaintingToolbar, CmdCustomBrush, "custom-brush", "Custom Brush", "", Refresh::None,
     "Create a custom brush"},
    {PaintingToolbar, CmdBrushSquare, "brush-square", "Square", "", Refresh::None,
     "Use a square brush form"},
    {PaintingToolbar, CmdBrushRound, "brush-round", "Round", "", Refresh::None, "Use a round tool"},
    // The sizes drawn are 5, 11, 21, 31, 41 and 51 samples; the buttons name them in round tens.
    {PaintingToolbar, CmdToolSize5, "tool-size-5", "5x5 tool", "", Refresh::None,
     "Set the tool size to 5x5 pixels"},
    {PaintingToolbar, CmdToolSize10, "tool-size-10", "10x10 tool", "", Refresh::None,
     "Set the tool size to 10x10 pixels"},
    {PaintingToolbar, CmdToolSize20, "tool-size-20", "20x20 tool", "", Refresh::None,
     "Set the tool size to 20x20 pixels"},
    {PaintingToolbar, CmdToolSize30, "tool-size-30", "30x30 tool", "", Refresh::None,
     "Set the tool size to 30x30 pixels"},
    {PaintingToolbar, CmdToolSize40, "tool-size-40", "40x40 tool", "", Refresh::None,
     "Set the tool size to 40x40 pixels"},
    {PaintingToolbar, CmdToolSize50, "tool-size-50", "50x50 tool", "", Refresh::None,
     "Set the tool size to 50x50 pixels"},
    {PaintingToolbar, CmdToolIntensity, "tool-intensity", "Intensity", "", Refresh::None,
     "Set the intensity of the tool"},
    // Draw: text and fills into the picture; two of the text items write into the height field.
    {DrawMenu, CmdDrawFloodFill, "draw-flood-fill", "Fl&ood Fill...", "", Refresh::View, ""},
    {DrawMenu, CmdDrawTextMessage, "draw-text-message", "&Text Message...", "", Refresh::View, ""},
    {DrawMenu, CmdDrawTextMessage2, "draw-text-message-2", "&Text Message...", "Text Message",
     Refresh::Full, ""},
    {DrawMenu, CmdDrawTextMessage3, "draw-text-message-3", "&Text Message...", "Text Message",
     Refresh::Full, ""},
};

std::vector<Command> BuildTable() {
    std::vector<Command> table;
    for (const Row& row : Rows) {
        Command command;
        command.Id = row.Id;
        command.CliName = row.CliName;
        command.MenuText = row.MenuText;
        command.MenuPath = row.Menu;
        command.StatusText = row.StatusText;
        command.SnapshotName = row.SnapshotName;
        command.After = row.After;
        table.push_back(std::move(command));
    }
    CommandTableBuilder builder(table);
    BindSurfaceCommands(builder);
    BindUndoCommands(builder);
    BindGenerateCommands(builder);
    BindPointCommands(builder);
    BindAreaCommands(builder);
    BindConvolutionCommands(builder);
    BindResampleCommands(builder);
    BindSelectionCommands(builder);
    BindLightingCommands(builder);
    BindGrayMapCommands(builder);
    BindWaterCommands(builder);
    BindGeoCommands(builder);
    BindPaintCommands(builder);
    BindImportCommands(builder);
    BindTerrainErosionCommands(builder);
    BindSinkFlowCommands(builder);
    BindWorldBuilderCommands(builder);
    BindOverlayCommands(builder);
    BindProjectionCommands(builder);
    return table;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

Command& CommandTableBuilder::At(CommandId id) {
    const auto it = std::ranges::find(Table, id, &Command::Id);
    if (it == Table.end())
        throw std::out_of_range("command id " + std::to_string(id) + " is not in the table");
    return *it;
}

Command& CommandTableBuilder::Bind(CommandId id, int32_t (*run)(Workspace&), EnablingRule enabled) {
    Command& command = At(id);
    command.Run = run;
    command.Enabled = enabled;
    return command;
}

Command& CommandTableBuilder::BindDialog(CommandId id, int32_t (*run)(Workspace&),
                                         void (*prefill)(Workspace&), const char* group,
                                         std::vector<DialogField> fields) {
    Command& command = Bind(id, run);
    command.Prefill = prefill;
    command.Group = group;
    command.Fields = std::move(fields);
    return command;
}

const DialogField* Command::FieldFor(const std::string& settingName) const {
    for (const DialogField& field : Fields)
        if (EqualIgnoringCase(field.Setting, settingName))
            return &field;
    return nullptr;
}

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
