#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One lexical item of RTF. Line ends between items carry no meaning in RTF and are dropped.
struct RtfToken {
    enum class Kind { GroupOpen, GroupClose, ControlWord, ControlSymbol, Text };

    Kind kind;
    // The word's name ("cellx"), the symbol's character ("'" for a hex escape, "~", "\\"), or
    // the bytes of a text run.
    std::string text;
    bool hasParameter = false;
    long parameter = 0;      // a word's numeric parameter, or the byte a hex escape stands for
    std::string hexDigits;   // a hex escape's two digits as written, to check their case
    std::size_t offset = 0;  // where the token starts in the source, for messages
};

// Splits RTF source into tokens. Throws std::runtime_error, naming the offset, on a backslash at
// the end of the source or a hex escape without two hex digits.
std::vector<RtfToken> TokenizeRtf(const std::string& source);
