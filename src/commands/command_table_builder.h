#pragma once
// What the command files use to bind their operations, dialogs and enabling rules to the rows
// of the command table.

#include "commands/command.h"

#include <vector>

namespace korvel {

class CommandTableBuilder {
public:
    explicit CommandTableBuilder(std::vector<Command>& table) : Table(table) {}

    // The row of id; an id that is not in the table throws std::out_of_range naming it.
    Command& At(CommandId id);
    Command& Bind(CommandId id, int32_t (*run)(Workspace&), EnablingRule enabled = nullptr);
    // A command with a dialog: group names its run-time settings ("group.Field"), fields every
    // field the dialog shows; prefill may be nullptr.
    Command& BindDialog(CommandId id, int32_t (*run)(Workspace&), void (*prefill)(Workspace&),
                        const char* group, std::vector<DialogField> fields);

private:
    std::vector<Command>& Table;
};

} // namespace korvel
