#include "commands/setting_checks.h"

#include "core/settings.h"
#include "generate/parser.h"

namespace korvel {

std::string SettingValueProblem(const SettingDescriptor& setting, const std::string& value) {
    // Generation would refuse the expression only when it runs, long after it was given.
    if (setting.Name() == "Surface/Func")
        if (std::string problem = ExpressionProblem(value); !problem.empty())
            return setting.Name() + ": " + problem;
    return {};
}

} // namespace korvel
