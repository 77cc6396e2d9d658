#include "core/status.h"

#include <cstring>

namespace korvel {

namespace {

const StatusText* Find(const StatusTable& table, int32_t code) {
    for (const StatusText& t : table.Texts)
        if (t.Code == code)
            return &t;
    return nullptr;
}

} // namespace

std::string DescribeStatus(const StatusTable& table, int32_t code) {
    if (const StatusText* t = Find(table, code))
        return t->Text;
    return std::string(table.Operation) + " failed (code " + std::to_string(code) + ")";
}

bool HasStatusText(const StatusTable& table, int32_t code) {
    return Find(table, code) != nullptr;
}

int32_t Refuse(std::string* reason, int32_t code, std::string text) {
    if (reason)
        *reason = std::move(text);
    return code;
}

int32_t Refuse(std::string* reason, const StatusTable& table, int32_t code,
               const std::string& detail) {
    if (!reason)
        return code;
    std::string text = DescribeStatus(table, code);
    if (!detail.empty())
        text += " (" + detail + ")";
    return Refuse(reason, code, std::move(text));
}

std::string ErrnoText(int error) {
    // One thread: the shared buffer of strerror is safe here.
    return std::strerror(error);
}

std::string GroupedNumber(uint64_t value) {
    std::string digits = std::to_string(value);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

} // namespace korvel
