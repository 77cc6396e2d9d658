#pragma once
// The lexer of the expression language and of every definition file. A definition file is
// lexed line by line; an expression is lexed from one line of text. Codes are those of
// keywords.h.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class TokenReader {
public:
    // Characters of a line held at a time; a longer file line is read in pieces of this size.
    static constexpr int32_t LineCapacity = 4095;
    // Characters kept of one token's text; a longer token keeps only its start.
    static constexpr int32_t TextCapacity = 2047;
    static constexpr int32_t FirstUserCode = 2048;
    static constexpr int32_t LastUserCode = 65535;

    TokenReader() = default;
    TokenReader(const TokenReader&) = delete;
    TokenReader& operator=(const TokenReader&) = delete;

    // Reads the first line and lexes its first token. 0, -1 when a file is already open, -2 when
    // the file cannot be opened.
    int32_t Open(const std::string& path);
    // 0, or -1 when no file was open. Either way the reader is back at end of input.
    int32_t Close();
    // Lexes one line of text without a file (closing any open one); control characters count
    // as spaces and only the first LineCapacity characters are kept.
    void SetLine(std::string_view text);

    int32_t Token() const { return Code; }
    const std::string& Text() const { return TokenText; }
    double Number() const { return Value; }
    // Where the current token starts in its line, counting from 0; at the end, the line's end.
    size_t Column() const { return Start; }
    // Lines (or pieces of over-long lines) read from the file so far.
    int32_t Line() const { return LineNumber; }

    // The code of the next significant token: comments and line ends are skipped.
    int32_t Next();
    // When the current token is a comment opener or a line end, moves on to the first token
    // after it that is neither; otherwise leaves the reader where it is.
    void SkipInsignificant();

    // Keyword name, punctuation text or user name of a code; empty when it has none.
    std::string TokenName(int32_t code) const;
    // Names for codes FirstUserCode..LastUserCode, only for TokenName. -1 below that range, -2
    // above it; ClearName gives -3 for a code beyond every name set so far.
    int32_t SetName(int32_t code, std::string name);
    int32_t ClearName(int32_t code);
    void ClearNames() { UserNames.clear(); }

    // Set by the constant readers when an expression did not parse; stays set until cleared,
    // so a caller may check once after reading a whole block. Open, Close and SetLine clear it.
    bool ExprError() const { return ExprFailed; }
    void SetExprError() { ExprFailed = true; }
    void ClearExprError() { ExprFailed = false; }

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    void Reset();
    bool ReadLine();
    void Scan();
    void ScanNumber();
    double ScanNumberPart();
    void SetToken(int32_t code, size_t start, size_t end);
    void SetEnd();
    void SkipComment();
    void SkipSpace();
    int At(size_t pos) const;

    std::unique_ptr<std::FILE, FileCloser> Source;
    std::string Buffer;
    size_t Cursor = 0;
    size_t Start = 0;
    int32_t LineNumber = 0;
    int32_t Code = 0;
    std::string TokenText;
    double Value = 0.0;
    bool ExprFailed = false;
    std::vector<std::string> UserNames;
};

} // namespace korvel
