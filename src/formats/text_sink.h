#pragma once
// Text for the mesh and contour files: numbers through std::to_chars (no locale, no printf in
// the loops), gathered into large blocks for an AtomicFile.

#include "core/atomic_file.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel {

// The longest fixed-point double: 309 digits, a sign, a point and 16 decimals, with room over.
constexpr size_t LongestFixedNumber = 400;

// Appends v with decimals places to out (as "%.*f" would, in the C locale); returns the end.
// Values of moderate size are scaled to an integer and printed as digits, several times faster;
// when the scaled value lies so near a half that the product's rounding could decide it, or is
// too large for the product to be exact enough, std::to_chars rounds the exact value instead.
inline char* PutFixed(char* out, double v, int decimals) {
    constexpr double Powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    constexpr uint64_t Whole[] = {1,      10,      100,      1000,      10000,
                                  100000, 1000000, 10000000, 100000000, 1000000000};
    if (decimals >= 0 && decimals <= 9) {
        const double scaled = std::fabs(v) * Powers[decimals];
        if (scaled < 1e15) {
            const double below = std::floor(scaled);
            const double fraction = scaled - below;
            // The product is within half an ulp of the exact one: far from .5, the same rounding.
            if (std::fabs(fraction - 0.5) > scaled * 0x1p-50 + 0x1p-60) {
                const uint64_t n = static_cast<uint64_t>(below) + (fraction > 0.5 ? 1 : 0);
                if (std::signbit(v))
                    *out++ = '-';
                out = std::to_chars(out, out + 24, n / Whole[decimals]).ptr;
                if (decimals > 0) {
                    *out++ = '.';
                    uint64_t rest = n % Whole[decimals];
                    for (int d = decimals - 1; d >= 0; --d, rest /= 10)
                        out[d] = static_cast<char>('0' + rest % 10);
                    out += decimals;
                }
                return out;
            }
        }
    }
    return std::to_chars(out, out + LongestFixedNumber, v, std::chars_format::fixed, decimals).ptr;
}

class TextSink {
public:
    explicit TextSink(AtomicFile& file, size_t blockBytes = size_t{1} << 20)
        : File(file), Block(blockBytes + LongestFixedNumber * 16) {
        Limit = blockBytes;
    }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    void Put(std::string_view text) {
        if (Used + text.size() > Block.size())
            Drain();
        if (text.size() > Block.size()) {
            Ok = File.Write(text.data(), text.size()) && Ok;
            return;
        }
        text.copy(Block.data() + Used, text.size());
        Used += text.size();
        DrainWhenFull();
    }
    void Put(char c) {
        Block[Used++] = c;
        DrainWhenFull();
    }
    void Fixed(double v, int decimals) {
        Used = static_cast<size_t>(PutFixed(Block.data() + Used, v, decimals) - Block.data());
        DrainWhenFull();
    }
    void Integer(uint64_t v) {
        Used = static_cast<size_t>(
            std::to_chars(Block.data() + Used, Block.data() + Block.size(), v).ptr - Block.data());
        DrainWhenFull();
    }
    // True while every write so far succeeded.
    bool Finish() {
        Drain();
        return Ok;
    }
    bool Good() const { return Ok; }

private:
    // Below the limit there is always room for a dozen numbers more.
    void DrainWhenFull() {
        if (Used >= Limit)
            Drain();
    }
    void Drain() {
        if (Used != 0)
            Ok = File.Write(Block.data(), Used) && Ok;
        Used = 0;
    }

    AtomicFile& File;
    std::vector<char> Block;
    size_t Used = 0;
    size_t Limit = 0;
    bool Ok = true;
};

} // namespace korvel
