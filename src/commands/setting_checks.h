#pragma once
// Checks of a setting's value that need more than the settings table knows: its type and range
// are the table's own business.

#include <string>

namespace korvel {

struct SettingDescriptor;

// Why value cannot be given to setting, beginning with the setting's name, e.g.
// 'Surface/Func: expression "sin(x*" ends at position 6 where a value was expected'; empty when
// it can.
std::string SettingValueProblem(const SettingDescriptor& setting, const std::string& value);

} // namespace korvel
