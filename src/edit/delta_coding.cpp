#include "edit/delta_coding.h"

#include "core/dialog_fields.h"
#include "core/surface.h"

#include <cmath>
#include <limits>

namespace korvel {

namespace {

// Truncation toward zero that saturates instead of overflowing; NaN gives 0.
int32_t TruncateToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (v >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// The low 16 bits as a signed value: the differences and codes wrap like a 16-bit short.
int16_t Wrap16(int64_t v) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xffffu));
}

// Visits every sample but (0, 0) along the path row 0 left to right, row 1 right to left, ...
template <class F> void WalkPath(Surface& s, F visit) {
    for (int32_t y = 0; y < s.YSize; ++y) {
        float* row = s.Rows[y];
        if (y % 2 == 0) {
            for (int32_t x = y == 0 ? 1 : 0; x < s.XSize; ++x)
                visit(row[x]);
        } else {
            for (int32_t x = s.XSize - 1; x >= 0; --x)
                visit(row[x]);
        }
    }
}

} // namespace

int32_t DeltaEncode(Surface& s, DeltaCodingFields& fields) {
    fields.Lo = s.Min;
    fields.Hi = s.Max;
    if (!s.Rows || s.XSize <= 0 || s.YSize <= 0)
        return 0;
    const double lo = fields.Lo;
    const double k = fields.Hi == fields.Lo ? 1.0 : 32767.0 / (fields.Hi - fields.Lo);
    int32_t previous = TruncateToInt((s.Rows[0][0] - lo) * k);
    WalkPath(s, [&](float& h) {
        const int32_t q = TruncateToInt((h - lo) * k);
        h = Wrap16(static_cast<int64_t>(q) - previous);
        previous = q;
    });
    return 0;
}

int32_t DeltaDecode(Surface& s, const DeltaCodingFields& fields) {
    if (!s.Rows || s.XSize <= 0 || s.YSize <= 0)
        return 0;
    const double lo = fields.Lo;
    const double step = (fields.Hi - fields.Lo) / 32767.0;
    int16_t code = Wrap16(TruncateToInt(s.Rows[0][0]));
    WalkPath(s, [&](float& h) {
        code = Wrap16(code + Wrap16(TruncateToInt(h)));
        h = static_cast<float>(code * step + lo);
    });
    return 0;
}

} // namespace korvel
