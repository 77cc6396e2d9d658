#include "core/file_map.h"

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
    Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return Status::CannotOpen;
    struct stat info {};
    if (fstat(Fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Close();
        return Status::CannotOpen;
    }
    Length = static_cast<size_t>(info.st_size);
    if (Length == 0)
        return Status::Ok;
    void* view = mmap(nullptr, Length, PROT_READ, MAP_PRIVATE, Fd, 0);
    if (view == MAP_FAILED) {
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
