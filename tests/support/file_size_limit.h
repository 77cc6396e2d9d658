#pragma once
// Makes every write past a size fail, as on a full disk, while it lives: the process's file size
// limit is lowered (its signal ignored, so writes fail with EFBIG) and restored afterwards.

#include <csignal>
#include <sys/resource.h>

namespace korvel::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{bytes, Saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &Saved); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit Saved{};
};

} // namespace korvel::test
