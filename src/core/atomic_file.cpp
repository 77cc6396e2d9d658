#include "core/atomic_file.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

AtomicFile::AtomicFile(std::string target) : Target(std::move(target)) {}

AtomicFile::~AtomicFile() {
    Abandon();
}

bool AtomicFile::Open() {
    Abandon();
    std::string pattern = Target + ".tmpXXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return false;
    // mkstemp creates 0600; give the file the permissions an ordinary create would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    Stream = fdopen(fd, "wb");
    if (!Stream) {
        close(fd);
        unlink(pattern.c_str());
        return false;
    }
    TempPath = pattern;
    Failed = false;
    return true;
}

bool AtomicFile::Write(const void* data, size_t bytes) {
    if (!Stream || Failed)
        return false;
    if (bytes && std::fwrite(data, 1, bytes, Stream) != bytes)
        Failed = true;
    return !Failed;
}

bool AtomicFile::Commit() {
    if (!Stream)
        return false;
    bool ok = !Failed && std::fflush(Stream) == 0 && fsync(fileno(Stream)) == 0;
    ok = std::fclose(Stream) == 0 && ok;
    Stream = nullptr;
    if (ok && std::rename(TempPath.c_str(), Target.c_str()) == 0) {
        TempPath.clear();
        return true;
    }
    unlink(TempPath.c_str());
    TempPath.clear();
    return false;
}

void AtomicFile::Abandon() {
    if (Stream) {
        std::fclose(Stream);
        Stream = nullptr;
    }
    if (!TempPath.empty()) {
        unlink(TempPath.c_str());
        TempPath.clear();
    }
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t bytes) {
    AtomicFile file(path);
    return file.Open() && file.Write(data, bytes) && file.Commit();
}

} // namespace korvel
