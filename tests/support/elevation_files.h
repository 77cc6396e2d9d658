#pragma once
// Hand-made USGS DEM and DTED files for the tests, laid out field by field from the published
// record layouts (not by Korvel's readers), and the check every refusal of a reader must pass.

#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace korvel::test {

using Bytes = std::vector<uint8_t>;

// text right-aligned in width columns at at.
inline void PutField(std::string& record, size_t at, size_t width, const std::string& text) {
    const size_t n = std::min(width, text.size());
    record.replace(at + width - n, n, text.substr(text.size() - n));
}
inline std::string DemReal(double value, int width = 24) {
    char text[64];
    std::snprintf(text, sizeof text, "%*.*E", width, width > 12 ? 15 : 6, value);
    std::string s = text;
    for (char& c : s)
        if (c == 'E')
            c = 'D';
    return s;
}

// A geographic DEM (arc-seconds): profiles columns x rows of elevation(column, row) (row 0 the
// southern), resolution res, south-western post at (west, south).
struct DemLayout {
    double West = -120 * 3600.0;
    double South = 45 * 3600.0;
    double Res = 30.0;
    int32_t Columns = 5;
    int32_t Rows = 4;
    double Min = 0;
    double Max = 0;
    std::function<int32_t(int32_t, int32_t)> Elevation = [](int32_t c, int32_t r) {
        return 100 * c + r;
    };
};

inline std::string DemFile(const DemLayout& d) {
    std::string a(1024, ' ');
    a.replace(0, 9, "TEST QUAD");
    PutField(a, 144, 6, "1");
    PutField(a, 150, 6, "1");
    PutField(a, 156, 6, "0");
    PutField(a, 162, 6, "0");
    PutField(a, 528, 6, "3");
    PutField(a, 534, 6, "2");
    PutField(a, 540, 6, "4");
    const double east = d.West + (d.Columns - 1) * d.Res;
    const double north = d.South + (d.Rows - 1) * d.Res;
    const double corners[4][2] = {
        {d.West, d.South}, {d.West, north}, {east, north}, {east, d.South}};
    for (size_t i = 0; i < 4; ++i) {
        PutField(a, 546 + 48 * i, 24, DemReal(corners[i][0]));
        PutField(a, 570 + 48 * i, 24, DemReal(corners[i][1]));
    }
    PutField(a, 738, 24, DemReal(d.Min));
    PutField(a, 762, 24, DemReal(d.Max));
    // Packed as real files have them: no blank between the three resolutions.
    const std::string res = DemReal(d.Res, 12) + DemReal(d.Res, 12) + DemReal(1.0, 12);
    a.replace(816, 36, res);
    PutField(a, 852, 6, "1");
    PutField(a, 858, 6, std::to_string(d.Columns));
    std::string file = a;
    for (int32_t c = 0; c < d.Columns; ++c) {
        std::string b(144, ' ');
        PutField(b, 0, 6, "1");
        PutField(b, 6, 6, std::to_string(c + 1));
        PutField(b, 12, 6, std::to_string(d.Rows));
        PutField(b, 18, 6, "1");
        PutField(b, 24, 24, DemReal(d.West + c * d.Res));
        PutField(b, 48, 24, DemReal(d.South));
        PutField(b, 72, 24, DemReal(0.0));
        size_t used = 144;
        for (int32_t r = 0; r < d.Rows; ++r) {
            if (used + 6 > 1024) {
                b.append(1024 - used, ' ');
                used = 0;
            }
            char value[16];
            std::snprintf(value, sizeof value, "%6d", d.Elevation(c, r));
            b += value;
            used += 6;
        }
        b.append(1024 - used, ' ');
        file += b;
    }
    return file;
}

inline void PutBigSignedMagnitude(uint8_t* at, int32_t value) {
    const uint32_t bits = value < 0 ? 0x8000u | uint32_t(-value) : uint32_t(value);
    at[0] = uint8_t(bits >> 8);
    at[1] = uint8_t(bits);
}

// A DTED cell: lines records of points posts, post(line, point) south to north; intervals in
// tenths of arc-seconds; the UHL carries a NUL in its unique reference as GDAL's files do.
inline Bytes DtedFile(const char* lon, const char* lat, int32_t lines, int32_t points,
                      int32_t interval, const std::function<int32_t(int32_t, int32_t)>& post) {
    Bytes file(3428, ' ');
    char uhl[160];
    std::snprintf(uhl, sizeof uhl, "UHL1%s%s%04d%04dNA  U  %12s%04d%04d0%24s", lon, lat, interval,
                  interval, "", lines, points, "");
    std::memcpy(file.data(), uhl, 80);
    file[40] = 0;
    const size_t recordBytes = 12 + 2 * size_t(points);
    for (int32_t line = 0; line < lines; ++line) {
        Bytes record(recordBytes, 0);
        record[0] = 0xAA;
        record[5] = uint8_t(line);
        for (int32_t p = 0; p < points; ++p)
            PutBigSignedMagnitude(record.data() + 8 + 2 * p, post(line, p));
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

// Reads into an 8 x 5 Surface holding a mark: the code and reason must be those expected, and the
// Surface as it was.
inline void ExpectRefusedUntouched(const std::string& name, int32_t code, const std::string& reason,
                                   const std::function<int32_t(Workspace&, std::string*)>& read) {
    RecordingHost host;
    Workspace ws{host};
    ASSERT_EQ(ws.TheSurface.Resize(8, 5, 0), 0);
    ws.TheSurface.Rows[2][3] = 7;
    std::string why;
    EXPECT_EQ(read(ws, &why), code) << name;
    EXPECT_EQ(why, reason) << name;
    EXPECT_EQ(ws.TheSurface.XSize, 8) << name;
    EXPECT_EQ(ws.TheSurface.YSize, 5) << name;
    EXPECT_EQ(ws.TheSurface.Rows[2][3], 7) << name;
}

} // namespace korvel::test
