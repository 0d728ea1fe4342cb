#include "platform/JournalText.h"

#include "platform/Utf16.h"

namespace {

constexpr wchar_t EndLine[] = L"end";

std::optional<JournalLine> ParseLine(const Utf16String& line) {
    if (line.size() < 10 || line[8] != L' ') return std::nullopt;
    std::uint32_t attributes = 0;
    for (int i = 0; i < 8; ++i) {
        wchar_t c = line[i];
        int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        attributes = attributes << 4 | static_cast<std::uint32_t>(digit);
    }
    JournalLine parsed{line.substr(9), attributes};
    if (!IsPlainName(parsed.name)) return std::nullopt;
    return parsed;
}

void Append(std::vector<unsigned char>& bytes, const Utf16String& text) {
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
}

}  // namespace

bool IsPlainName(const Utf16String& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    for (wchar_t c : name)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == L'\\' || c == L'/' || c == L':')
            return false;
    return true;
}

std::vector<unsigned char> FormatJournal(const std::vector<JournalLine>& lines) {
    static const wchar_t Digits[] = L"0123456789ABCDEF";
    std::vector<unsigned char> bytes;
    for (const JournalLine& line : lines) {
        Utf16String text(8, L'0');
        for (int i = 0; i < 8; ++i) text[i] = Digits[line.attributes >> (28 - 4 * i) & 0xF];
        Append(bytes, text + L' ' + line.name + L'\n');
    }
    Append(bytes, Utf16String(EndLine) + L'\n');
    return bytes;
}

std::optional<std::vector<JournalLine>> ParseJournal(const unsigned char* bytes, std::size_t size) {
    if (size == 0 || size % 2 != 0) return std::nullopt;
    Utf16String text(size / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);

    std::vector<JournalLine> lines;
    Utf16String::size_type start = 0;
    for (Utf16String::size_type end; (end = text.find(L'\n', start)) != Utf16String::npos;
         start = end + 1) {
        Utf16String line = text.substr(start, end - start);
        if (line == EndLine) return end + 1 == text.size() ? std::optional(lines) : std::nullopt;
        std::optional<JournalLine> parsed = ParseLine(line);
        if (!parsed) return std::nullopt;
        lines.push_back(std::move(*parsed));
    }
    return std::nullopt;
}
