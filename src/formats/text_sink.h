#pragma once
// Text for the mesh and contour files: numbers through std::to_chars (no locale, no printf in
// the loops), gathered into large blocks for an AtomicFile.

#include "core/atomic_file.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel {

// The longest fixed-point double: 309 digits, a sign, a point and 16 decimals, with room over.
constexpr size_t LongestFixedNumber = 400;

// Appends v with decimals places to out (as "%.*f" would, in the C locale); returns the end.
inline char* PutFixed(char* out, double v, int decimals) {
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
