#pragma once
// One row per command of the editor: how menus, tool bars and the command-line tool name it, and
// how the runner carries it out.

#include "core/settings.h"
#include "core/status.h"

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace korvel {

class Workspace;

// The command ids of the menu and tool bar resources.
enum CommandId : int32_t {
    CmdNew = 57600,
    CmdOpen = 57601,
    CmdSaveAs = 32813,
    CmdDtedImage = 32898,
    CmdImageSubsection = 33010,
    CmdGtopo30Section = 33058,
    CmdWorldBuilderMap = 33147,
    CmdMonsysTextures = 33002,
    CmdUndo = 57643,
    CmdRedo = 57644,
    CmdFlush = 33078,
    CmdPaintingTools = 33145,
    CmdAltitudeKey = 32844,
    CmdZoomFullSize = 32959,
    CmdZoomIn = 32956,
    CmdZoomOut = 32957,
    CmdZoomArbitrary = 32958,
    CmdRefreshDisplay = 32852,
    CmdCalculate = 32820,
    CmdJourney = 33036,
    CmdFindMinMax = 32945,
    CmdMapInfo = 32816,
    CmdSize = 32779,
    CmdHistogram = 33030,
    CmdPaint = 33009,
    CmdClone = 33061,
    CmdEditPaintbrush = 33013,
    CmdBrushWizard = 33059,
    CmdAddNoise = 33007,
    CmdExponent = 32802,
    CmdFitGeoid = 33049,
    CmdClip = 32801,
    CmdOffset = 32862,
    CmdReplace = 33004,
    CmdScale = 32863,
    CmdThreshold = 33005,
    CmdBlurSome = 32881,
    CmdBlurMore = 32882,
    CmdBlurLots = 32883,
    CmdConvolve = 32890,
    CmdSharpenSome = 32884,
    CmdSharpenMore = 32885,
    CmdSharpenLots = 32886,
    CmdCosineDistortion = 33020,
    CmdInverseCosine = 33029,
    CmdFluvial = 32892,
    CmdThermal = 32913,
    CmdFlipVertical = 32887,
    CmdFlipHorizontal = 32888,
    CmdFlipDiagonal = 32889,
    CmdQuadResample = 33046,
    CmdResample = 32944,
    CmdRotate90 = 33060,
    CmdToroidalOffset = 33019,
    CmdBackfill = 33041,
    CmdXxx = 33056,
    CmdFloodFill = 33032,
    CmdLighting = 33055,
    CmdHeightMap = 32867,
    CmdLightMap = 33052,
    CmdLosMask = 33050,
    CmdPhaseMap = 33039,
    CmdQuiltMap = 33040,
    CmdSlopeMap = 33027,
    CmdSeaMask = 33018,
    CmdNeighbors8 = 33148,
    CmdColorRamp = 32822,
    CmdEdgeClear = 32806,
    CmdEdgeFluff = 32807,
    CmdVectorFile = 33045,
    CmdWorldFlood = 33003,
    CmdFindLakes = 33047,
    CmdDrainageAreas = 33149,
    CmdIcosahedralProjection = 33044,
    CmdHexGrid = 33015,
    CmdRectangularGrid = 33022,
    CmdOptions = 32797,
    CmdFlushAbort = 32953,
    CmdGeoidParameters = 33051,
    CmdMapProjection = 33048,
    CmdExternalPrograms = 33038,
    CmdSelectNone = 33064,
    CmdSelectAll = 33065,
    CmdSelectInverse = 33066,
    CmdSelectHeightRange = 33067,
    CmdFeather = 33068,
    CmdLoadSelection = 33069,
    CmdSaveSelection = 33070,
    CmdAbout = 57664,
    CmdToolPan = 32783,
    CmdToolZoom = 32784,
    CmdToolSelectVectors = 33062,
    CmdToolLassoSelection = 32786,
    CmdToolRectangularSelection = 32787,
    CmdToolMagicWand = 32788,
    CmdRelight = 33079,
    CmdPaintToolPaint = 33105,
    CmdPaintToolBlur = 33101,
    CmdPaintToolSharpen = 33102,
    CmdPaintToolDig = 33103,
    CmdPaintToolRaise = 33104,
    CmdPaintToolErode = 33143,
    CmdPaintToolAddNoise = 33144,
    CmdCustomBrush = 33141,
    CmdBrushSquare = 33123,
    CmdBrushRound = 33125,
    CmdToolSize5 = 33140,
    CmdToolSize10 = 33139,
    CmdToolSize20 = 33138,
    CmdToolSize30 = 33137,
    CmdToolSize40 = 33136,
    CmdToolSize50 = 33135,
    CmdToolIntensity = 33142,
    CmdDrawFloodFill = 32955,
    CmdDrawTextMessage = 33023,
    CmdDrawTextMessage2 = 33024,
    CmdDrawTextMessage3 = 33025,
    // Beyond the resources: erosion, sink filling and flow.
    CmdHydraulic = 33300,
    CmdFillSinks = 33301,
    CmdFlowAccumulation = 33302,
    CmdSaveFlow = 33303,
    CmdSelectFlow = 33304,
    // 33350-33399: paint commands beyond the resources.
    CmdPaintToolThermalErode = 33350,
    CmdPaintToolHydraulicErode = 33351,
};

// What follows a command's operation.
enum class Refresh {
    Full,      // RefreshAfterEdit whatever the operation returned
    OnSuccess, // RefreshAfterEdit only when the operation returned 0
    Texture,   // recompute the TextureMap and palette, redraw (the relight button)
    View,      // invalidate the view and repaint the altitude key
    None,
};

// One value of a choice field and what it stands for.
struct FieldChoice {
    int32_t Value = 0;
    const char* Meaning = "";
};

// The two values of a check box kept as an integer.
inline std::vector<FieldChoice> OffOnChoices() {
    return {{0, "off"}, {1, "on"}};
}

// One field of a command's dialog. Setting names a row of the settings table ("Surface/Type",
// "offset.Amount"); the editor builds its forms from these, the CLI its help.
struct DialogField {
    DialogField(const char* setting, const char* label) : Setting(setting), Label(label) {}
    DialogField(const char* setting, const char* label, double lo, double hi,
                std::vector<FieldChoice> choices = {})
        : Setting(setting), Label(label), Lo(lo), Hi(hi), Choices(std::move(choices)) {}

    const char* Setting = "";
    const char* Label = "";
    // The range the dialog accepts; infinite bounds leave the setting's own range.
    double Lo = -std::numeric_limits<double>::infinity();
    double Hi = std::numeric_limits<double>::infinity();
    // Empty for a number or text; otherwise every value the field may take.
    std::vector<FieldChoice> Choices;
    // A run-time field ("group.Field") has no row in the core settings table: AddDialogSettings
    // makes one from the variable it edits. nullptr for persisted settings.
    SettingType Type = SettingType::Skip;
    void* (*Variable)(Workspace&) = nullptr;
    // The page of a property sheet the field sits on; empty in a plain dialog.
    const char* Page = "";
};

// A push button of a dialog that changes the values the dialog shows (the journey's "RGS", the
// Bryce area's "&All"); what the person sees change is stored only by the dialog's OK.
struct DialogButton {
    // "group.Name", for the command line's press step.
    const char* Name = "";
    const char* Label = "";
    void (*Press)(Workspace&) = nullptr;
    // What it writes, for help texts.
    const char* Effect = "";
};

// The address of ws.*A.*B..., for a field's Variable.
template <auto... Members> auto* AddressOf(Workspace& ws) {
    return &(ws.*....*Members);
}
template <auto... Members> void* MemberOf(Workspace& ws) {
    return AddressOf<Members...>(ws);
}

template <class T> constexpr SettingType SettingTypeOf() {
    if constexpr (std::is_same_v<T, bool>)
        return SettingType::Bool;
    else if constexpr (std::is_same_v<T, int32_t>)
        return SettingType::Int;
    else if constexpr (std::is_same_v<T, double>)
        return SettingType::Double;
    else if constexpr (std::is_same_v<T, float>)
        return SettingType::Float;
    else {
        static_assert(std::is_same_v<T, std::string>, "no setting type stores this variable");
        return SettingType::Text;
    }
}

// A run-time field editing ws.*Members... (e.g. <&Workspace::Offset, &OffsetFields::Amount>),
// accepted in lo..hi.
template <auto... Members>
DialogField RunTimeField(const char* setting, const char* label,
                         double lo = -std::numeric_limits<double>::infinity(),
                         double hi = std::numeric_limits<double>::infinity(),
                         std::vector<FieldChoice> choices = {}) {
    DialogField field(setting, label, lo, hi, std::move(choices));
    using Variable =
        std::remove_pointer_t<decltype(AddressOf<Members...>(std::declval<Workspace&>()))>;
    field.Type = SettingTypeOf<Variable>();
    field.Variable = MemberOf<Members...>;
    return field;
}

// Says why a command cannot run now, or nullptr when it can.
using EnablingRule = const char* (*)(const Workspace&);

struct Command {
    CommandId Id{};
    // The command-line name: lower case words joined by '-'.
    std::string CliName;
    std::string MenuText;
    // Where the item sits: "Surface > Area Process > Blur", "Main toolbar".
    std::string MenuPath;
    std::string StatusText;
    // The undo step taken before the operation; empty for none.
    std::string SnapshotName;
    // What the command does to the Surface, for help texts; empty when the name says it all.
    std::string Effect;
    // The dialog: Group names its run-time settings ("Group.Field") for the host; Fields lists
    // every field shown, run-time and persisted. No fields: the command has no dialog.
    std::string Group;
    std::vector<DialogField> Fields;
    std::vector<DialogButton> Buttons;
    // The dialog's own title; empty: the menu text without mnemonic and ellipsis.
    std::string DialogTitle;
    Refresh After = Refresh::None;
    // nullptr: the operation is not available in this version.
    int32_t (*Run)(Workspace&) = nullptr;
    // Copies the current state (usually of the Surface) into the dialog fields before they are
    // shown; nullptr when the fields simply keep their last values.
    void (*Prefill)(Workspace&) = nullptr;
    // nullptr: always enabled.
    EnablingRule Enabled = nullptr;
    // What the operation's failure codes mean; nullptr when it has none of its own.
    const StatusTable* Codes = nullptr;

    bool Available() const { return Run != nullptr; }
    bool HasDialog() const { return !Fields.empty(); }
    // The dialog's field for a setting (matched by the settings table's own name); nullptr for
    // none.
    const DialogField* FieldFor(const std::string& settingName) const;
};

// Every command of the editor in menu order.
const std::vector<Command>& CommandTable();
const Command* FindCommandById(int32_t id);
// Matches the command-line name without regard to case.
const Command* FindCommandByName(const std::string& cliName);
// Adds the rows of the run-time dialog fields to the workspace's settings table; once, before
// any setting is looked up by pointer.
void AddDialogSettings(Workspace& ws);

// "Data Interpolation Setup": the interpolation type and the beta spline's bias and tension. The
// resample dialogs carry them; the editor's Options open them with a button.
std::vector<DialogField> InterpolationFields();
// The first dialog field, of any command, that edits the setting named settingName.
const DialogField* FindDialogField(const std::string& settingName);

// The button named "group.Name" (without regard to case) of any dialog, with the fields of its
// dialog; nullptr for none.
const DialogButton* FindDialogButton(const std::string& name,
                                     const std::vector<DialogField>** fields = nullptr);

// The range a field accepts: its own where it declares one, else its setting's.
void FieldRange(const DialogField& field, const SettingDescriptor& setting, double& lo, double& hi);
// Empty when text is a value the field accepts; otherwise why not, naming the setting and what
// it takes.
std::string CheckFieldValue(const DialogField& field, const SettingDescriptor& setting,
                            const std::string& text);
// What a field takes: "0..1000000", "0 or 1", or every choice with its meaning; empty for any
// number or text.
std::string DescribeFieldValues(const DialogField& field, const SettingDescriptor& setting);

} // namespace korvel
