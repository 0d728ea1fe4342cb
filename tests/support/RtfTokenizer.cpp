#include "tests/support/RtfTokenizer.h"

#include <cctype>
#include <stdexcept>

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

[[noreturn]] void Fail(const char* what, std::size_t offset) {
    throw std::runtime_error(std::string(what) + " at offset " + std::to_string(offset));
}

}  // namespace

std::vector<RtfToken> TokenizeRtf(const std::string& source) {
    std::vector<RtfToken> tokens;
    const std::size_t n = source.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t start = i;
        const char c = source[i];
        if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '{') {
            tokens.push_back({RtfToken::Kind::GroupOpen, "{", false, 0, "", start});
            ++i;
        } else if (c == '}') {
            tokens.push_back({RtfToken::Kind::GroupClose, "}", false, 0, "", start});
            ++i;
        } else if (c == '\\') {
            if (++i == n) Fail("backslash at the end", start);
            if (IsLetter(source[i])) {
                RtfToken word{RtfToken::Kind::ControlWord, "", false, 0, "", start};
                while (i < n && IsLetter(source[i])) word.text += source[i++];
                const bool negative = i + 1 < n && source[i] == '-' && IsDigit(source[i + 1]);
                if (negative) ++i;
                if (i < n && IsDigit(source[i])) {
                    word.hasParameter = true;
                    while (i < n && IsDigit(source[i])) {
                        word.parameter = word.parameter * 10 + (source[i++] - '0');
                    }
                    if (negative) word.parameter = -word.parameter;
                }
                // A single space only delimits the word; it is not text.
                if (i < n && source[i] == ' ') ++i;
                tokens.push_back(word);
            } else if (source[i] == '\'') {
                if (i + 2 >= n || !IsHexDigit(source[i + 1]) || !IsHexDigit(source[i + 2])) {
                    Fail("hex escape without two hex digits", start);
                }
                RtfToken escape{RtfToken::Kind::ControlSymbol, "'",  true, 0,
                                source.substr(i + 1, 2),       start};
                escape.parameter = std::stol(escape.hexDigits, nullptr, 16);
                tokens.push_back(escape);
                i += 3;
            } else {
                tokens.push_back({RtfToken::Kind::ControlSymbol, std::string(1, source[i]), false,
                                  0, "", start});
                ++i;
            }
        } else {
            RtfToken run{RtfToken::Kind::Text, "", false, 0, "", start};
            while (i < n && source[i] != '\\' && source[i] != '{' && source[i] != '}' &&
                   source[i] != '\r' && source[i] != '\n') {
                run.text += source[i++];
            }
            tokens.push_back(run);
        }
    }
    return tokens;
}
