#pragma once
// Writing a file so that a failure never destroys the file it replaces: the bytes go to a
// temporary file beside the target, which is renamed over it only when complete.

#include <cstddef>
#include <cstdio>
#include <string>

namespace korvel {

class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Without a successful Commit the temporary file is removed and the target left alone.
    ~AtomicFile();

    // False when the temporary file could not be created.
    bool Open();
    bool Write(const void* data, size_t bytes);
    // Flushes, syncs and renames over the target; false (target untouched) on any failure.
    bool Commit();
    void Abandon();

    bool IsOpen() const { return Stream != nullptr; }
    // The errno of the first failure of Open, Write or Commit; 0 while none has failed.
    int Error() const { return FirstError; }

private:
    std::string Target;
    std::string TempPath;
    std::FILE* Stream = nullptr;
    bool Failed = false;
    int FirstError = 0;
    void NoteError();
};

// The whole of data to path through an AtomicFile.
bool WriteFileAtomically(const std::string& path, const void* data, size_t bytes);

} // namespace korvel
