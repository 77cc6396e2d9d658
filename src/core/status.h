#pragma once
// Status codes and what they mean. Operations return int32 codes: 0 done, -1 cancelled or
// refused, lower codes their own failures. The numbers differ from one operation to the next, so
// each header names its codes in an enum and gives them texts in a StatusTable; DescribeStatus
// is the one lookup every layer, the commands and the command-line tool use.

#include <cstdint>
#include <span>
#include <string>

namespace korvel {

// Codes every operation shares.
enum CommonStatus : int32_t {
    StatusOk = 0,
    StatusCancelled = -1,
};

struct StatusText {
    int32_t Code;
    const char* Text;
};

// The codes of one operation (or of a family sharing one numbering) with their texts.
struct StatusTable {
    const char* Operation;
    std::span<const StatusText> Texts;
};

// The text of code in table; for a code the table does not hold, the operation and the number
// ("MDR reading failed (code -42)"), never an empty text.
std::string DescribeStatus(const StatusTable& table, int32_t code);
// True when table has a text of its own for code.
bool HasStatusText(const StatusTable& table, int32_t code);

// Hands why an operation failed to a caller that asked (reason not null); returns code.
int32_t Refuse(std::string* reason, int32_t code, std::string text);
// The table's text for code, with detail after it in parentheses when there is one.
int32_t Refuse(std::string* reason, const StatusTable& table, int32_t code,
               const std::string& detail = std::string());

// The system's text for an errno value ("No such file or directory").
std::string ErrnoText(int error);
// 1049600 as "1,049,600", for sizes in messages.
std::string GroupedNumber(uint64_t value);

} // namespace korvel
