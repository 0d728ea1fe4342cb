#include "platform/JournalText.h"

namespace {

const std::u16string EndLine = u"end";

std::optional<JournalLine> ParseLine(const std::u16string& line) {
    if (line.size() < 10 || line[8] != u' ') return std::nullopt;
    std::uint32_t attributes = 0;
    for (int i = 0; i < 8; ++i) {
        char16_t c = line[i];
        int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        attributes = attributes << 4 | static_cast<std::uint32_t>(digit);
    }
    JournalLine parsed{line.substr(9), attributes};
    if (!IsPlainName(parsed.name)) return std::nullopt;
    return parsed;
}

void Append(std::vector<unsigned char>& bytes, const std::u16string& text) {
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
}

}  // namespace

bool IsPlainName(const std::u16string& name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (char16_t c : name)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == u'\\' || c == u'/' || c == u':')
            return false;
    return true;
}

std::vector<unsigned char> FormatJournal(const std::vector<JournalLine>& lines) {
    static const char16_t Digits[] = u"0123456789ABCDEF";
    std::vector<unsigned char> bytes;
    for (const JournalLine& line : lines) {
        std::u16string text(8, u'0');
        for (int i = 0; i < 8; ++i) text[i] = Digits[line.attributes >> (28 - 4 * i) & 0xF];
        Append(bytes, text + u' ' + line.name + u'\n');
    }
    Append(bytes, EndLine + u'\n');
    return bytes;
}

std::optional<std::vector<JournalLine>> ParseJournal(const unsigned char* bytes, std::size_t size) {
    if (size == 0 || size % 2 != 0) return std::nullopt;
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);

    std::vector<JournalLine> lines;
    std::u16string::size_type start = 0;
    for (std::u16string::size_type end; (end = text.find(u'\n', start)) != std::u16string::npos;
         start = end + 1) {
        std::u16string line = text.substr(start, end - start);
        if (line == EndLine) return end + 1 == text.size() ? std::optional(lines) : std::nullopt;
        std::optional<JournalLine> parsed = ParseLine(line);
        if (!parsed) return std::nullopt;
        lines.push_back(std::move(*parsed));
    }
    return std::nullopt;
}
