#pragma once
// Writes a Surface as a Float32 BIL raster (rows north first) with its EHdr .hdr beside it, for
// the scripts that hand the benchmark's elevations to GDAL or GRASS.

#include "core/surface.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace korvel::bench {

inline bool WriteBil(const Surface& s, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = true;
    for (int32_t y = s.YSize - 1; y >= 0 && ok; --y)
        ok = std::fwrite(s.Rows[y], sizeof(float), static_cast<size_t>(s.XSize), f) ==
             static_cast<size_t>(s.XSize);
    ok = std::fclose(f) == 0 && ok;
    const std::string hdrPath = path.substr(0, path.rfind('.')) + ".hdr";
    FILE* h = std::fopen(hdrPath.c_str(), "w");
    if (h == nullptr)
        return false;
    std::fprintf(h,
                 "BYTEORDER I\nLAYOUT BIL\nNROWS %d\nNCOLS %d\nNBANDS 1\nNBITS 32\n"
                 "PIXELTYPE FLOAT\n",
                 s.YSize, s.XSize);
    return std::fclose(h) == 0 && ok;
}

// The main of a benchmark whose elevations a script also hands to another tool: with
// "--write-bil=PATH" it writes surface() there instead of timing anything.
template <class SurfaceOf> int MainWritingBil(int argc, char** argv, SurfaceOf surface) {
    constexpr const char* WriteFlag = "--write-bil=";
    if (argc == 2 && std::strncmp(argv[1], WriteFlag, std::strlen(WriteFlag)) == 0) {
        if (WriteBil(surface(), argv[1] + std::strlen(WriteFlag)))
            return 0;
        std::fprintf(stderr, "could not write %s\n", argv[1] + std::strlen(WriteFlag));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace korvel::bench
