#include "app/rich_dialogs.h"

#include "app/calculation_options_dialog.h"
#include "app/lighting_sheet_dialog.h"
#include "app/new_surface_wizard.h"

#include <array>

namespace korvel {

namespace {

const std::array<RichDialog, 3> RichDialogs{{
    {"lighting", RunLightingSheet},
    {"calculate", RunCalculationOptions},
    {"new", RunNewSurfaceWizard},
}};

} // namespace

const RichDialog* FindRichDialog(const std::string& group) {
    for (const RichDialog& dialog : RichDialogs)
        if (group == dialog.Group)
            return &dialog;
    return nullptr;
}

} // namespace korvel
