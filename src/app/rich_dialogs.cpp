#include "app/rich_dialogs.h"

#include "app/brush_setup_dialog.h"
#include "app/histogram_dialog.h"

#include <iterator>

namespace korvel {

namespace {

constexpr RichDialog RichDialogs[] = {
    {"histogram", RunHistogramDialog},
    {"brush", RunBrushSetupDialog},
};

} // namespace

const RichDialog* FindRichDialog(const std::string& group) {
    for (const RichDialog& row : RichDialogs)
        if (group == row.Group)
            return &row;
    return nullptr;
}

} // namespace korvel
