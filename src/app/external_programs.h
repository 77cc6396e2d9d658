#pragma once
// Starting the programs of the external list: the command line is cut into words as a shell
// would, the program is looked up on PATH, and the program is started detached so that it
// outlives the editor.

#include <QString>

namespace korvel {

struct ExternalEntry;

// Empty when the program started; otherwise the message naming the program and the reason, with
// the fixed texts for a missing file, a missing folder, a file that is no program and exhausted
// resources.
QString StartExternal(const ExternalEntry& entry);

} // namespace korvel
