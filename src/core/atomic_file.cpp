#include "core/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

AtomicFile::AtomicFile(std::string target) : Target(std::move(target)) {}

AtomicFile::~AtomicFile() {
    Abandon();
}

void AtomicFile::NoteError() {
    if (FirstError == 0)
        FirstError = errno != 0 ? errno : EIO;
}

bool AtomicFile::Open() {
    Abandon();
    FirstError = 0;
    std::string pattern = Target + ".tmpXXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        NoteError();
        return false;
    }
    // mkstemp creates 0600; give the file the permissions an ordinary create would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    Stream = fdopen(fd, "wb");
    if (!Stream) {
        NoteError();
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
    if (bytes && std::fwrite(data, 1, bytes, Stream) != bytes) {
        NoteError();
        Failed = true;
    }
    return !Failed;
}

bool AtomicFile::Commit() {
    if (!Stream)
        return false;
    bool ok = !Failed && std::fflush(Stream) == 0 && fsync(fileno(Stream)) == 0;
    if (!ok)
        NoteError();
    if (std::fclose(Stream) != 0 && ok) {
        NoteError();
        ok = false;
    }
    Stream = nullptr;
    if (ok && std::rename(TempPath.c_str(), Target.c_str()) == 0) {
        TempPath.clear();
        return true;
    }
    if (ok)
        NoteError(); // the rename
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
