#include "app/rich_dialogs.h"

#include "app/brush_setup_dialog.h"
#include "app/calculation_options_dialog.h"
#include "app/histogram_dialog.h"
#include "app/lighting_sheet_dialog.h"
#include "app/new_surface_wizard.h"

#include <array>

namespace korvel {

namespace {

const std::array<RichDialog, 5> RichDialogs{{
    {"lighting", RunLightingSheet},
    {"calculate", RunCalculationOptions},
    {"new", RunNewSurfaceWizard},
    {"histogram", RunHistogramDialog},
    {"brush", RunBrushSetupDialog},
}};

} // namespace

const RichDialog* FindRichDialog(const std::string& group) {
    for (const RichDialog& dialog : RichDialogs)
        if (group == dialog.Group)
            return &dialog;
    return nullptr;
}

} // namespace korvel
