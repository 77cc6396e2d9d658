#include "formats/vector_file.h"

#include "formats/format_support.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace korvel {

namespace {

const StatusText Texts[] = {
    {VectorFileCannotOpen, "cannot open the vector file"},
    {VectorFileCannotMap, "cannot read the vector file"},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

// Up to three numbers as "%f %f %f" reads them: each after optional blanks, stopping at the
// first text that is not one. Non-finite values are counted, so that their line can be rejected.
int32_t ReadNumbers(std::string_view text, double (&values)[3]) {
    int32_t count = 0;
    size_t at = 0;
    while (count < 3) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        // from_chars takes no leading '+'; scanf does.
        if (at + 1 < text.size() && text[at] == '+' && text[at + 1] != '-' && text[at + 1] != '+')
            ++at;
        double value = 0.0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(),
                                                  value, std::chars_format::general);
        if (error == std::errc::result_out_of_range) {
            value = INFINITY;
        } else if (error != std::errc()) {
            break;
        }
        values[count++] = value;
        at = static_cast<size_t>(end - text.data());
    }
    return count;
}

int32_t Needed(char action) {
    switch (action) {
    case 'C':
        return 3;
    case 'W':
        return 1;
    case 'M':
    case 'L':
        return 2;
    default:
        return 0;
    }
}

uint32_t LowByte(double channel) {
    return static_cast<uint32_t>(static_cast<int64_t>(std::trunc(channel)) & 0xFF);
}

class StrokeCollector {
public:
    explicit StrokeCollector(VectorDrawing& drawing) : Drawing(drawing) {}

    void Reject(int64_t lineNumber, const char* why) {
        if (Drawing.RejectedLines++ == 0) {
            char text[128];
            std::snprintf(text, sizeof text, "line %lld %s", static_cast<long long>(lineNumber),
                          why);
            Drawing.FirstRejection = text;
        }
    }

    void Line(int64_t lineNumber, std::string_view line) {
        if (line.size() > MaxVectorLineLength)
            return Reject(lineNumber, "is longer than 511 characters");
        if (line.empty())
            return;
        const char action = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
        const int32_t needed = Needed(action);
        if (needed == 0)
            return;
        double v[3] = {};
        if (ReadNumbers(line.substr(1), v) < needed)
            return;
        for (int32_t i = 0; i < needed; ++i)
            if (!(std::abs(v[i]) <= MaxVectorValue))
                return Reject(lineNumber, "holds a number that is not finite or out of range");
        switch (action) {
        case 'C':
            SetColor(v);
            break;
        case 'W':
            if (!(v[0] >= 0.0 && v[0] < MaxVectorPenWidth + 1))
                return Reject(lineNumber, "holds a pen width outside 0 to 255");
            Width = static_cast<int32_t>(v[0]);
            Open = false;
            break;
        case 'M':
            Position = {v[0], v[1]};
            HasPosition = true;
            Open = false;
            break;
        default:
            LineTo({v[0], v[1]});
            break;
        }
    }

private:
    void SetColor(const double (&v)[3]) {
        const bool unit = v[0] <= 1.0 && v[1] <= 1.0 && v[2] <= 1.0;
        const double k = unit ? 255.0 : 1.0;
        Color = LowByte(v[0] * k) | LowByte(v[1] * k) << 8 | LowByte(v[2] * k) << 16;
        Open = false;
    }

    void LineTo(VectorPoint to) {
        if (HasPosition) {
            if (!Open) {
                Drawing.Strokes.push_back({Color, Width, {Position}});
                Open = true;
            }
            Drawing.Strokes.back().Points.push_back(to);
        }
        Position = to;
        HasPosition = true;
    }

    VectorDrawing& Drawing;
    PackedColor Color = 0;
    int32_t Width = 1;
    VectorPoint Position;
    bool HasPosition = false;
    // The last stroke ends at Position and has the current pen: a line continues it.
    bool Open = false;
};

} // namespace

const StatusTable VectorFileTexts{"Vector file reading", Texts};

VectorDrawing ReadVectorBuffer(const uint8_t* data, size_t size) {
    VectorDrawing drawing;
    StrokeCollector collector(drawing);
    const std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
    int64_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        collector.Line(++lineNumber, line);
        start = end + 1;
    }
    return drawing;
}

int32_t ReadVectorFile(const std::string& path, VectorDrawing& drawing, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            drawing = ReadVectorBuffer(data, size);
            return 0;
        },
        VectorFileCannotOpen, VectorFileCannotMap);
}

} // namespace korvel
