#include "formats/hgt.h"

#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <cctype>
#include <limits>

namespace korvel {

namespace {

constexpr int32_t Void = -32768;

constexpr StatusText ReadTexts[] = {
    {HgtCannotOpen, "HGT file cannot be opened"},
    {HgtCannotMap, "HGT file cannot be mapped"},
    {HgtBadName, "HGT file's name does not give its corner (like N45W120.hgt)"},
    {HgtBadLength, "HGT file is neither 1201 nor 3601 samples square"},
    {HgtOutOfMemory, "out of memory for the Surface of the HGT file"},
};

// digits decimal digits at text[at..]; -1 when they are not there.
int32_t Digits(const std::string& text, size_t at, size_t digits) {
    if (text.size() < at + digits)
        return -1;
    int32_t value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

const StatusTable HgtReadTexts{"HGT reading", ReadTexts};

bool HgtCornerFromName(const std::string& path, int32_t& latitude, int32_t& longitude) {
    const std::string name = FileNameOf(path);
    if (name.size() < 7)
        return false;
    const char ns = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    const char ew = static_cast<char>(std::toupper(static_cast<unsigned char>(name[3])));
    const int32_t lat = Digits(name, 1, 2);
    const int32_t lon = Digits(name, 4, 3);
    if ((ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W') || lat < 0 || lat > 90 || lon < 0 ||
        lon > 180)
        return false;
    latitude = ns == 'S' ? -lat : lat;
    longitude = ew == 'W' ? -lon : lon;
    return true;
}

int32_t ReadHgtBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                      std::string* reason) {
    int32_t latitude = 0;
    int32_t longitude = 0;
    if (!HgtCornerFromName(name, latitude, longitude))
        return Refuse(reason, HgtReadTexts, HgtBadName, "\"" + FileNameOf(name) + "\"");
    const int32_t side = data && size == 1201u * 1201u * 2u   ? 1201
                         : data && size == 3601u * 3601u * 2u ? 3601
                                                              : 0;
    if (side == 0)
        return Refuse(reason, HgtReadTexts, HgtBadLength, GroupedNumber(size) + " bytes");
    Surface& s = ws.TheSurface;
    if (s.Resize(side, side, -1) != 0)
        return Refuse(reason, HgtReadTexts, HgtOutOfMemory);
    for (int32_t row = 0; row < side; ++row) {
        const uint8_t* in = data + size_t(row) * side * 2;
        float* out = RowOfFileRow(s, row, false);
        for (int32_t x = 0; x < s.XSize; ++x, in += 2) {
            const auto value = static_cast<int16_t>((in[0] << 8) | in[1]);
            out[x] = value == Void ? std::numeric_limits<float>::quiet_NaN() : float(value);
        }
    }
    // The samples sit on whole degrees: the outline is half a cell wider all round.
    const double step = 1.0 / (side - 1);
    SetOutline(s, longitude - step / 2, latitude + 1.0 + step / 2, step, step);
    NoteWidthCut(ws.FileNotes, name, side);
    FinishHeights(s, ws.TheProgress, ws.FileNotes, name);
    return 0;
}

int32_t ReadHgtFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadHgtBuffer(data, size, ws, path, reason);
        },
        HgtCannotOpen, HgtCannotMap);
}

} // namespace korvel
