#include "core/kernel.h"

#include "core/atomic_file.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

namespace korvel {

namespace {

// Characters of a .krn line that are looked at; the rest of a longer line is skipped.
constexpr size_t LineCapacity = 255;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// False at the end of the file.
bool ReadLine(std::FILE* f, std::string& line) {
    line.clear();
    bool any = false;
    for (int ch = std::getc(f); ch != EOF; ch = std::getc(f)) {
        any = true;
        if (ch == '\n')
            break;
        if (line.size() < LineCapacity)
            line.push_back(static_cast<char>(ch));
    }
    return any;
}

// The digit at pos, or -1.
int32_t DigitAt(const std::string& line, size_t pos) {
    if (pos >= line.size() || line[pos] < '0' || line[pos] > '9')
        return -1;
    return line[pos] - '0';
}

// The number that starts at pos (blanks and a plus sign before it allowed), or nothing.
std::optional<double> NumberAt(const std::string& line, size_t pos) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos < line.size() && line[pos] == '+')
        ++pos;
    if (pos >= line.size())
        return std::nullopt;
    double value = 0.0;
    const char* end = line.data() + line.size();
    const auto result = std::from_chars(line.data() + pos, end, value);
    if (result.ec != std::errc())
        return std::nullopt;
    return value;
}

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    out += text;
}

} // namespace

int32_t Kernel::SetSize(int32_t size, float scale, int32_t symmetry, int32_t mode) {
    if (size < 1 || size > MaxSize)
        return -1;
    KernelSize = size | 1;
    GridSide = KernelSize > MinExtent ? KernelSize : MinExtent;
    Grid.fill(0.0f);
    GridAt(GridSide / 2, GridSide / 2) = 1.0f;
    Scale = scale;
    Symmetry = symmetry;
    Mode = mode;
    return 0;
}

void Kernel::MakeBox() {
    Grid.fill(1.0f);
    Scale = 1.0f / static_cast<float>(KernelSize * KernelSize);
}

void Kernel::MakeSharpen() {
    Grid.fill(-1.0f);
    GridAt(GridSide / 2, GridSide / 2) = static_cast<float>(KernelSize * KernelSize + 1);
    Scale = 1.0f;
}

float Kernel::UnitScale() const {
    double sum = 0.0;
    for (int32_t i = 0; i < KernelSize; ++i)
        for (int32_t j = 0; j < KernelSize; ++j)
            sum += BlockRow(i)[j];
    return sum == 0.0 ? 1.0f : static_cast<float>(1.0 / sum);
}

bool Kernel::InBlock(int32_t i, int32_t j) const {
    return i >= 0 && i < KernelSize && j >= 0 && j < KernelSize;
}

float Kernel::Weight(int32_t i, int32_t j) const {
    return InBlock(i, j) ? BlockRow(i)[j] : 0.0f;
}

void Kernel::SetWeight(int32_t i, int32_t j, float weight) {
    const int32_t corner = GridSide / 2 - KernelSize / 2;
    if (InBlock(i, j))
        GridAt(corner + i, corner + j) = weight;
}

const float* Kernel::BlockRow(int32_t i) const {
    const int32_t corner = GridSide / 2 - KernelSize / 2;
    return Grid.data() + (corner + i) * GridSide + corner;
}

void Kernel::ResetBlock() {
    for (int32_t i = 0; i < KernelSize; ++i)
        for (int32_t j = 0; j < KernelSize; ++j)
            SetWeight(i, j, 0.0f);
    GridAt(GridSide / 2, GridSide / 2) = 1.0f;
}

void Kernel::ApplyFileLine(const std::string& line) {
    const std::string_view key = std::string_view(line).substr(0, 4);
    if (key == "SIZE") {
        const int32_t n = DigitAt(line, 5);
        if (n >= 1 && n != KernelSize)
            SetSize(n, Scale, Symmetry, Mode);
    } else if (key == "SYMM") {
        // Only the dialog's five choices.
        const int32_t n = DigitAt(line, 5);
        if (n >= 0 && n <= 4)
            Symmetry = n;
    } else if (key == "SCAL") {
        if (const auto v = NumberAt(line, 5))
            Scale = static_cast<float>(*v);
    } else if (key == "KERN") {
        const int32_t i = DigitAt(line, 4);
        const int32_t j = DigitAt(line, 5);
        const auto v = NumberAt(line, 7);
        if (v && InBlock(i, j))
            SetWeight(i, j, static_cast<float>(*v));
    }
}

int32_t Kernel::Load(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return -1;
    // Read into a copy, so that a read error (a directory, a failing disk) changes nothing.
    Kernel read = *this;
    read.ResetBlock();
    std::string line;
    while (ReadLine(f.get(), line))
        read.ApplyFileLine(line);
    if (std::ferror(f.get()))
        return -1;
    *this = read;
    return 0;
}

int32_t Kernel::Save(const std::string& path) const {
    if (KernelSize > MaxFileSize)
        return -2;
    std::string text;
    Append(text, "SIZE=%d\n", KernelSize);
    Append(text, "SYMM=%d\n", Symmetry);
    Append(text, "SCAL=%f\n", static_cast<double>(Scale));
    for (int32_t i = 0; i < KernelSize; ++i)
        for (int32_t j = 0; j < KernelSize; ++j)
            Append(text, "KERN%d%d=%f\n", i, j, static_cast<double>(BlockRow(i)[j]));
    return WriteFileAtomically(path, text.data(), text.size()) ? 0 : -1;
}

} // namespace korvel
