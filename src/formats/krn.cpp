#include "formats/krn.h"

#include "core/atomic_file.h"
#include "core/kernel.h"

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

// False for a line of no known kind.
bool ApplyFileLine(Kernel& k, const std::string& line) {
    const std::string_view key = std::string_view(line).substr(0, 4);
    if (key == "SIZE") {
        const int32_t n = DigitAt(line, 5);
        if (n >= 1 && n != k.Size())
            k.SetSize(n, k.Scale, k.Symmetry, k.Mode);
    } else if (key == "SYMM") {
        // Only the dialog's five choices.
        const int32_t n = DigitAt(line, 5);
        if (n >= 0 && n <= 4)
            k.Symmetry = n;
    } else if (key == "SCAL") {
        if (const auto v = NumberAt(line, 5))
            k.Scale = static_cast<float>(*v);
    } else if (key == "KERN") {
        const int32_t i = DigitAt(line, 4);
        const int32_t j = DigitAt(line, 5);
        const auto v = NumberAt(line, 7);
        if (v && i >= 0 && i < k.Size() && j >= 0 && j < k.Size())
            k.SetWeight(i, j, static_cast<float>(*v));
    } else {
        return false;
    }
    return true;
}

constexpr StatusText KernelTextList[] = {
    {KernelFileUnusable, "the kernel file cannot be read or written"},
    {KernelFileTooLarge, "kernels above 9 x 9 do not fit a kernel file"},
    {KernelFileNoKernel, "the file holds no SIZE, SYMM, SCAL or KERN line"},
};

} // namespace

const StatusTable KernelFileTexts{"kernel file", KernelTextList};

int32_t LoadKernelFile(Kernel& kernel, const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return KernelFileUnusable;
    // Read into a copy, so that a read error (a directory, a failing disk) changes nothing.
    Kernel read = kernel;
    read.ClearBlock();
    std::string line;
    bool known = false;
    while (ReadLine(f.get(), line))
        known = ApplyFileLine(read, line) || known;
    if (std::ferror(f.get()))
        return KernelFileUnusable;
    if (!known)
        return KernelFileNoKernel;
    kernel = read;
    return 0;
}

int32_t SaveKernelFile(const Kernel& kernel, const std::string& path) {
    if (kernel.Size() > Kernel::MaxFileSize)
        return KernelFileTooLarge;
    std::string text;
    Append(text, "SIZE=%d\n", kernel.Size());
    Append(text, "SYMM=%d\n", kernel.Symmetry);
    Append(text, "SCAL=%f\n", static_cast<double>(kernel.Scale));
    for (int32_t i = 0; i < kernel.Size(); ++i)
        for (int32_t j = 0; j < kernel.Size(); ++j)
            Append(text, "KERN%d%d=%f\n", i, j, static_cast<double>(kernel.BlockRow(i)[j]));
    return WriteFileAtomically(path, text.data(), text.size()) ? 0 : KernelFileUnusable;
}

} // namespace korvel
