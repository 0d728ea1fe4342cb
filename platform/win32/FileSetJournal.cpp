#include "platform/win32/FileSetJournal.h"

#include <cwchar>

// UTF-16 text, one line per target ("0000002A Kolwenta3A.rtf"), then a closing "end" line: a
// journal without it was cut off before anything was swapped.
namespace {

const wchar_t EndLine[] = L"end";
constexpr DWORD LargestJournal = 1 << 20;

std::wstring Hex(DWORD value) {
    std::wstring text(8, L'0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[i] = L"0123456789ABCDEF"[value & 0xF];
    return text;
}

// A name that cannot reach outside the folder, whatever a damaged journal holds.
bool IsPlainName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." &&
           name.find_first_of(L"\\/:") == std::wstring::npos;
}

std::optional<JournalEntry> ParseLine(const std::wstring& line) {
    if (line.size() < 10 || line[8] != L' ') return std::nullopt;
    DWORD attributes = 0;
    for (int i = 0; i < 8; ++i) {
        wchar_t c = line[i];
        int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        attributes = attributes << 4 | static_cast<DWORD>(digit);
    }
    JournalEntry entry{line.substr(9), attributes};
    if (!IsPlainName(entry.name)) return std::nullopt;
    return entry;
}

}  // namespace

DWORD WriteJournal(HANDLE journal, const std::vector<JournalEntry>& entries) {
    std::wstring text;
    for (const JournalEntry& entry : entries)
        text += Hex(entry.attributes) + L' ' + entry.name + L'\n';
    text += std::wstring(EndLine) + L'\n';
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    if (::SetFilePointer(journal, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::WriteFile(journal, text.data(), size, &written, nullptr) || !::SetEndOfFile(journal) ||
        !::FlushFileBuffers(journal))
        return ::GetLastError();
    return written == size ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

DWORD ClearJournal(HANDLE journal) {
    if (::SetFilePointer(journal, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::SetEndOfFile(journal) || !::FlushFileBuffers(journal))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

std::optional<std::vector<JournalEntry>> ReadJournal(HANDLE journal) {
    DWORD size = ::GetFileSize(journal, nullptr);
    if (size == INVALID_FILE_SIZE || size == 0 || size > LargestJournal ||
        size % sizeof(wchar_t) != 0)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    if (::SetFilePointer(journal, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::ReadFile(journal, text.data(), size, &read, nullptr) || read != size)
        return std::nullopt;

    std::vector<JournalEntry> entries;
    std::wstring::size_type start = 0;
    for (std::wstring::size_type end; (end = text.find(L'\n', start)) != std::wstring::npos;
         start = end + 1) {
        std::wstring line = text.substr(start, end - start);
        if (line == EndLine) return end + 1 == text.size() ? std::optional(entries) : std::nullopt;
        std::optional<JournalEntry> entry = ParseLine(line);
        if (!entry) return std::nullopt;
        entries.push_back(*entry);
    }
    return std::nullopt;
}
