#include "commands/generate_commands.h"

#include "commands/command_table_builder.h"
#include "commands/journey.h"
#include "commands/point_commands.h"
#include "core/workspace.h"
#include "generate/procedural.h"

namespace korvel {

namespace {

int32_t RunCalculate(Workspace& ws) {
    return GenerateSurface(ws, ws.TheSurface.Generation, true);
}

int32_t RunJourneyCommand(Workspace& ws) {
    return RunJourney(ws);
}

void PressRgs(Workspace& ws) {
    FillJourneyFromRecord(ws.Journey, ws.TheSurface.Generation);
}

template <auto Range>
void AddRange(std::vector<DialogField>& fields, const char* start, const char* end,
              const char* label) {
    fields.push_back(RunTimeField<&Workspace::Journey, Range, &JourneyRange::Start>(start, label));
    fields.push_back(RunTimeField<&Workspace::Journey, Range, &JourneyRange::End>(end, "to"));
}

std::vector<DialogField> JourneyDialogFields() {
    std::vector<DialogField> f;
    AddRange<&JourneyFields::fgain>(f, "journey.FgainStart", "journey.FgainEnd", "fgain:");
    AddRange<&JourneyFields::H>(f, "journey.HStart", "journey.HEnd", "H:");
    AddRange<&JourneyFields::lacunarity>(f, "journey.LacunarityStart", "journey.LacunarityEnd",
                                         "Lacunarity:");
    AddRange<&JourneyFields::octaves>(f, "journey.OctavesStart", "journey.OctavesEnd", "Octaves:");
    AddRange<&JourneyFields::offset>(f, "journey.OffsetStart", "journey.OffsetEnd", "Offset:");
    AddRange<&JourneyFields::xpos>(f, "journey.XPosStart", "journey.XPosEnd",
                                   "Position X (S&phere Center)");
    AddRange<&JourneyFields::ypos>(f, "journey.YPosStart", "journey.YPosEnd", "Position Y");
    AddRange<&JourneyFields::zpos>(f, "journey.ZPosStart", "journey.ZPosEnd", "Position Z");
    AddRange<&JourneyFields::xrange>(f, "journey.XSizeStart", "journey.XSizeEnd",
                                     "Size X (&Sphere Radii)");
    AddRange<&JourneyFields::yrange>(f, "journey.YSizeStart", "journey.YSizeEnd", "Size Y");
    AddRange<&JourneyFields::zrange>(f, "journey.ZSizeStart", "journey.ZSizeEnd", "Size Z");
    AddRange<&JourneyFields::Top>(f, "journey.TopStart", "journey.TopEnd", "Top");
    AddRange<&JourneyFields::Left>(f, "journey.LeftStart", "journey.LeftEnd", "Left");
    AddRange<&JourneyFields::Right>(f, "journey.RightStart", "journey.RightEnd", "Right");
    AddRange<&JourneyFields::Bottom>(f, "journey.BottomStart", "journey.BottomEnd", "Bottom");
    f.push_back(RunTimeField<&Workspace::Journey, &JourneyFields::Type>(
        "journey.Type", "Type", 0, 4,
        {{0, "Fractional Brownian Motion (fBm)"},
         {1, "Multifractal"},
         {2, "Hetero Terrain"},
         {3, "Hybrid Multifractal"},
         {4, "Ridged Multifractal"}}));
    f.push_back(
        RunTimeField<&Workspace::Journey, &JourneyFields::Seed>("journey.Seed", "&RandSeed:"));
    f.push_back(RunTimeField<&Workspace::Journey, &JourneyFields::Spherical>(
        "journey.Spherical", "Spherical E&valuation", 0, 1));
    f.push_back(
        RunTimeField<&Workspace::Journey, &JourneyFields::Frames>("journey.Frames", "# &Frames:"));
    f.push_back(RunTimeField<&Workspace::Journey, &JourneyFields::Output>(
        "journey.Output", "Disk Output", 0, 2,
        {{JourneyNoOutput, "None"},
         {JourneyBmpSequence, "BMP Sequence"},
         {JourneyPcxSequence, "PCX Sequence"}}));
    f.push_back(RunTimeField<&Workspace::Journey, &JourneyFields::Sequence>(
        "journey.Sequence", "Sequence: (below 0 saves nothing)"));
    f.push_back(RunTimeField<&Workspace::Journey, &JourneyFields::ShowStatus>(
        "journey.ShowStatus", "Show Calc Status", 0, 1));
    return f;
}

} // namespace

void BindGenerateCommands(CommandTableBuilder& table) {
    std::vector<DialogField> fields = {
        {"Surface/Type",
         "Type",
         0,
         6,
         {{0, "Recursive Subdivision (plasma)"},
          {1, "Math Function"},
          {2, "Fractional Brownian Motion (fBm)"},
          {3, "Multifractal"},
          {4, "Hetero Terrain"},
          {5, "Hybrid Multifractal"},
          {6, "Ridged Multifractal"}}},
        {"Surface/RandSeed", "RandSeed:"},
        {"Surface/Func", "Expression"},
        {"Surface/rf", "rf:"},
        {"Surface/irf", "irf:"},
        {"Surface/H", "H:"},
        {"Surface/lacunarity", "Lacunarity:"},
        {"Surface/octaves", "Octaves:"},
        {"Surface/offset", "Offset:"},
        {"Surface/fgain", "fgain:"},
        {"Surface/TexSphere", "Spherical Evaluation"},
        {"Surface/xpos", "Position X"},
        {"Surface/ypos", "Position Y"},
        {"Surface/zpos", "Position Z"},
        {"Surface/xrange", "Size X"},
        {"Surface/yrange", "Size Y"},
        {"Surface/zrange", "Size Z"},
    };
    for (DialogField& field : MapScaleFields())
        fields.push_back(std::move(field));
    table.BindDialog(CmdCalculate, RunCalculate, nullptr, "", std::move(fields)).Effect =
        "Replaces every elevation with the chosen surface type, then scales it by the "
        "MapScale settings.";
    Command& journey =
        table.BindDialog(CmdJourney, RunJourneyCommand, nullptr, "journey", JourneyDialogFields());
    journey.Effect = "Generates one surface per frame, its parameters moving from the starts "
                     "towards the ends, and saves each shaded frame as pic#####.bmp or .pcx.";
    journey.Buttons = {{"journey.RGS", "RGS", PressRgs,
                        "every start and end, and the seed, from the surface generation record"}};
}

} // namespace korvel
