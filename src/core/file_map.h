#pragma once
// Read-only mapping of a whole file.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class MappedFile {
public:
    enum class Status { Ok, CannotOpen, CannotMap };

    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // An empty file maps to Ok with Size() 0 and Data() nullptr.
    Status Open(const std::string& path);
    void Close();

    // The errno of the failed Open; 0 after a successful one.
    int Error() const { return LastError; }
    const uint8_t* Data() const { return Bytes; }
    size_t Size() const { return Length; }

private:
    int Fd = -1;
    const uint8_t* Bytes = nullptr;
    size_t Length = 0;
    int LastError = 0;
};

} // namespace korvel
