#include "generate/token_reader.h"

#include "generate/keywords.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

bool IsLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Degrees count as they are, minutes and seconds as fractions of a degree; 0 means no suffix.
double AngleFactor(int c) {
    switch (c) {
    case 'd':
    case 'D':
        return 1.0;
    case 'm':
    case 'M':
    case '\'':
        return 1.0 / 60.0;
    case 's':
    case 'S':
    case '"':
        return 1.0 / 3600.0;
    default:
        return 0.0;
    }
}

bool IsInsignificant(int32_t code) {
    return code == TokEndOfLine || code == TokLineComment || code == TokCommentOpen;
}

} // namespace

int TokenReader::At(size_t pos) const {
    return pos < Buffer.size() ? static_cast<unsigned char>(Buffer[pos]) : -1;
}

void TokenReader::Reset() {
    Source.reset();
    Buffer.clear();
    Cursor = 0;
    LineNumber = 0;
    SetEnd();
    ExprFailed = false;
}

int32_t TokenReader::Open(const std::string& path) {
    if (Source)
        return -1;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return -2;
    Reset();
    Source.reset(file);
    if (ReadLine())
        Scan();
    return 0;
}

int32_t TokenReader::Close() {
    const bool wasOpen = Source != nullptr;
    Reset();
    return wasOpen ? 0 : -1;
}

void TokenReader::SetLine(std::string_view text) {
    Reset();
    Buffer.assign(text.substr(0, LineCapacity));
    for (char& c : Buffer)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    Scan();
}

// Like fgets into a 4096-byte buffer: at most LineCapacity characters per call, so an
// over-long line arrives as several pieces, each counted as a line.
bool TokenReader::ReadLine() {
    if (!Source)
        return false;
    Buffer.clear();
    Cursor = 0;
    bool any = false;
    while (Buffer.size() < static_cast<size_t>(LineCapacity)) {
        const int c = std::getc(Source.get());
        if (c == EOF)
            break;
        any = true;
        if (c == '\n')
            break;
        Buffer.push_back(static_cast<char>(c));
    }
    if (!any)
        return false;
    if (LineNumber < std::numeric_limits<int32_t>::max())
        ++LineNumber;
    return true;
}

void TokenReader::SetToken(int32_t code, size_t start, size_t end) {
    Code = code;
    TokenText.assign(Buffer, start, std::min(end - start, static_cast<size_t>(TextCapacity)));
}

void TokenReader::SetEnd() {
    Start = Cursor;
    Code = TokEnd;
    TokenText.clear();
    Value = 0.0;
}

void TokenReader::SkipSpace() {
    while (IsSpace(At(Cursor)))
        ++Cursor;
}

void TokenReader::Scan() {
    Code = TokEndOfLine;
    TokenText.clear();
    Value = 0.0;
    SkipSpace();
    Start = Cursor;
    const int c = At(Cursor);
    if (c < 0)
        return;
    const size_t start = Cursor;
    if (IsLetter(c)) {
        while (IsLetter(At(Cursor)) || IsDigit(At(Cursor)))
            ++Cursor;
        SetToken(TokIdentifier, start, Cursor);
        Code = KeywordCode(TokenText);
        return;
    }
    const int next = At(Cursor + 1);
    if (IsDigit(c) || (c == '.' && IsDigit(next))) {
        ScanNumber();
        return;
    }
    if (c == '"' || c == '\'') {
        // No escapes; an unclosed string runs to the end of the line.
        const size_t first = ++Cursor;
        while (At(Cursor) >= 0 && At(Cursor) != c)
            ++Cursor;
        SetToken(TokString, first, Cursor);
        if (At(Cursor) == c)
            ++Cursor;
        return;
    }
    int32_t code = TokOther;
    size_t length = 1;
    switch (c) {
    case '%':
        code = TokPercent;
        break;
    case '(':
        code = next == '*' ? TokCommentOpen : TokLeftParen;
        length = next == '*' ? 2 : 1;
        break;
    case ')':
        code = TokRightParen;
        break;
    case '*':
        if (next == '*') {
            code = TokPower;
            length = 2;
        } else if (next == ')' || next == '/') {
            code = TokCommentClose;
            length = 2;
        } else {
            code = TokStar;
        }
        break;
    case '+':
        code = TokPlus;
        break;
    case ',':
        code = TokComma;
        break;
    case '-':
        code = TokMinus;
        break;
    case '.':
        code = TokDot;
        break;
    case '/':
        if (next == '/') {
            code = TokLineComment;
            length = 2;
        } else if (next == '*') {
            code = TokCommentOpen;
            length = 2;
        } else {
            code = TokSlash;
        }
        break;
    case ':':
        code = TokColon;
        break;
    case '?':
        code = TokQuestion;
        break;
    case '@':
        code = TokAt;
        break;
    case '[':
        code = TokLeftBracket;
        break;
    case ']':
        code = TokRightBracket;
        break;
    case '^':
        code = TokPower;
        break;
    case '{':
        code = TokLeftBrace;
        break;
    case '}':
        code = TokRightBrace;
        break;
    default:
        break;
    }
    Cursor += length;
    SetToken(code, start, Cursor);
}

// Digits, optionally "." and digits, optionally "e" or "E", "-" and digits.
double TokenReader::ScanNumberPart() {
    const size_t start = Cursor;
    while (IsDigit(At(Cursor)))
        ++Cursor;
    if (At(Cursor) == '.') {
        ++Cursor;
        while (IsDigit(At(Cursor)))
            ++Cursor;
    }
    if (At(Cursor) == 'e' || At(Cursor) == 'E') {
        ++Cursor;
        if (At(Cursor) == '-')
            ++Cursor;
        while (IsDigit(At(Cursor)))
            ++Cursor;
    }
    const std::string_view text(Buffer.data() + start, Cursor - start);
    double value = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec ==
        std::errc::result_out_of_range) {
        // Too large overflows to infinity, too small underflows to 0, as strtod would.
        const size_t e = text.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 2 < text.size() && text[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return value;
}

// A number with angle suffixes (45d30m, 10d 15' 36") sums its parts as degrees. A part without
// a suffix, after suffixed ones too, replaces the sum: "45d 30" is 30.
void TokenReader::ScanNumber() {
    const size_t start = Cursor;
    size_t end = Cursor;
    double total = 0.0;
    while (true) {
        const double part = ScanNumberPart();
        const double factor = AngleFactor(At(Cursor));
        if (factor == 0.0) {
            total = part;
            end = Cursor;
            break;
        }
        total += part * factor;
        end = ++Cursor;
        SkipSpace();
        const int c = At(Cursor);
        if (!IsDigit(c) && !(c == '.' && IsDigit(At(Cursor + 1))))
            break;
    }
    SetToken(TokNumber, start, end);
    Value = total;
}

// Comments are skipped by their raw characters, so quotes and "**)" inside them cannot hide
// the closer.
void TokenReader::SkipComment() {
    while (true) {
        for (size_t pos = Cursor; pos + 1 < Buffer.size(); ++pos) {
            if (Buffer[pos] == '*' && (Buffer[pos + 1] == '/' || Buffer[pos + 1] == ')')) {
                Cursor = pos + 2;
                return;
            }
        }
        if (!ReadLine()) {
            SetEnd();
            return;
        }
    }
}

void TokenReader::SkipInsignificant() {
    while (IsInsignificant(Code)) {
        if (Code == TokCommentOpen)
            SkipComment();
        else if (!ReadLine())
            SetEnd();
        if (Code == TokEnd)
            return;
        Scan();
    }
}

int32_t TokenReader::Next() {
    if (Code == TokEnd)
        return TokEnd;
    if (!IsInsignificant(Code))
        Scan();
    SkipInsignificant();
    return Code;
}

std::string TokenReader::TokenName(int32_t code) const {
    switch (code) {
    case TokAt:
        return "@";
    case TokColon:
        return ":";
    case TokComma:
        return ",";
    case TokCommentClose:
        return "*/";
    case TokCommentOpen:
        return "/*";
    case TokLineComment:
        return "//";
    case TokLeftBrace:
        return "{";
    case TokLeftParen:
        return "(";
    case TokLeftBracket:
        return "[";
    case TokQuestion:
        return "?";
    case TokRightBrace:
        return "}";
    case TokRightParen:
        return ")";
    case TokRightBracket:
        return "]";
    case TokPlus:
        return "+";
    case TokSlash:
        return "/";
    case TokStar:
        return "*";
    case TokMinus:
    case TokUnaryMinus:
        return "-";
    case TokPower:
        return "^";
    default:
        break;
    }
    if (code >= FirstUserCode) {
        const size_t index = static_cast<size_t>(code - FirstUserCode);
        return index < UserNames.size() ? UserNames[index] : std::string();
    }
    return std::string(KeywordName(code));
}

int32_t TokenReader::SetName(int32_t code, std::string name) {
    if (code < FirstUserCode)
        return -1;
    if (code > LastUserCode)
        return -2;
    const size_t index = static_cast<size_t>(code - FirstUserCode);
    if (index >= UserNames.size())
        UserNames.resize(index + 1);
    UserNames[index] = std::move(name);
    return 0;
}

int32_t TokenReader::ClearName(int32_t code) {
    if (code < FirstUserCode)
        return -1;
    if (code > LastUserCode)
        return -2;
    const size_t index = static_cast<size_t>(code - FirstUserCode);
    if (index >= UserNames.size())
        return -3;
    UserNames[index].clear();
    return 0;
}

} // namespace korvel
