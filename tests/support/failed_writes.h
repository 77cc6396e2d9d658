#pragma once
// Saving over a file that exists, twice: once cancelled a few pumps in, once on a "full disk"
// (writes past 4 KB fail). Each time the old file must stay as it was, alone in its folder.

#include "core/progress.h"
#include "support/file_size_limit.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace korvel::test {

struct FailedWriteCodes {
    int32_t Cancelled = 0;
    int32_t DiskFull = 0;
};

inline FailedWriteCodes TryFailedWrites(RecordingHost& host, Progress& progress, const TempDir& dir,
                                        const std::string& name,
                                        const std::function<int32_t(const std::string&)>& write,
                                        int cancelAfterPumps = 3) {
    const std::string path = dir.File("keep");
    FailedWriteCodes codes;
    for (const bool diskFull : {false, true}) {
        WriteFileText(path, "old");
        std::optional<FileSizeLimit> limit;
        if (diskFull)
            limit.emplace(4096);
        else
            host.OnPump = CancelAtPump(progress, host.Pumps + cancelAfterPumps);
        (diskFull ? codes.DiskFull : codes.Cancelled) = write(path);
        limit.reset();
        host.OnPump = nullptr;
        EXPECT_EQ(ReadFileText(path), "old") << name << (diskFull ? " disk full" : " cancelled");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), 1) << name;
    }
    return codes;
}

} // namespace korvel::test
