#pragma once
// A fresh directory per test, removed with everything in it afterwards.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvel::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (Path / name).string(); }
    const std::filesystem::path& Root() const { return Path; }

private:
    std::filesystem::path Path;
};

std::string ReadFileText(const std::string& path);
// The same as bytes, for the buffer readers.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

} // namespace korvel::test
