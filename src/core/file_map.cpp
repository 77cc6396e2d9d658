#include "core/file_map.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

MappedFile::~MappedFile() {
    Close();
}

MappedFile::Status MappedFile::Open(const std::string& path) {
    Close();
    LastError = 0;
    Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) {
        LastError = errno;
        return Status::CannotOpen;
    }
    struct stat info {};
    const bool known = fstat(Fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        // A directory or a device opens but is no file to read.
        LastError = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        Close();
        return Status::CannotOpen;
    }
    Length = static_cast<size_t>(info.st_size);
    if (Length == 0)
        return Status::Ok;
    void* view = mmap(nullptr, Length, PROT_READ, MAP_PRIVATE, Fd, 0);
    if (view == MAP_FAILED) {
        LastError = errno;
        Close();
        return Status::CannotMap;
    }
    Bytes = static_cast<const uint8_t*>(view);
    return Status::Ok;
}

void MappedFile::Close() {
    if (Bytes)
        munmap(const_cast<uint8_t*>(Bytes), Length);
    Bytes = nullptr;
    Length = 0;
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

} // namespace korvel
