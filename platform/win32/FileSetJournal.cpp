#include "platform/win32/FileSetJournal.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/OurFiles.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

// UTF-16 text, one line per target ("0000002A Kolwenta3A.rtf"), then a closing "end" line: a
// journal without it was cut off before anything was swapped.
namespace {

const wchar_t EndLine[] = L"end";
constexpr DWORD LargestJournal = 1 << 20;

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

// A file of ours, or one that is missing; anything else is left alone.
DWORD CheckOursByName(const std::wstring& path) {
    UniqueFile file;
    return OpenOurs(path, FILE_READ_ATTRIBUTES, file);
}

// Removes a file of ours that an earlier set left, through the handle that was checked.
DWORD RemoveLeftover(const std::wstring& path) {
    UniqueFile file;
    if (DWORD code = OpenOurs(path, DELETE, file)) return code;
    if (!file) return ERROR_SUCCESS;
    FILE_DISPOSITION_INFO dispose{TRUE};
    return ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose)
               ? ERROR_SUCCESS
               : ::GetLastError();
}

// The targets a journal names, in its order, if it names nothing else and each target once.
std::vector<std::size_t> TargetsNamed(const std::vector<JournalEntry>& entries,
                                      const std::vector<std::wstring>& targets) {
    std::vector<std::size_t> named;
    for (const JournalEntry& entry : entries) {
        auto target = std::find_if(targets.begin(), targets.end(), [&](const std::wstring& t) {
            return SameName(NameOf(t), entry.name);
        });
        std::size_t index = target - targets.begin();
        if (target == targets.end() || std::find(named.begin(), named.end(), index) != named.end())
            return {};
        named.push_back(index);
    }
    return named;
}

}  // namespace

DWORD WriteJournal(const FileCalls& calls, HANDLE journal,
                   const std::vector<JournalEntry>& entries) {
    std::wstring text;
    for (const JournalEntry& entry : entries)
        text += Widen(HexCode(entry.attributes)) + L' ' + entry.name + L'\n';
    text += std::wstring(EndLine) + L'\n';
    // NOLINTNEXTLINE(bugprone-misplaced-widening-cast): size_t and DWORD are both 32 bits here.
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    if (::SetFilePointer(journal, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !calls.writeFile(journal, text.data(), size, &written, nullptr) ||
        !::SetEndOfFile(journal) || !::FlushFileBuffers(journal))
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

// The old file returns from its backup by a rename
// (MoveFileExW, not ReplaceFileW: the backup is the old file itself, with its own security and
// times, which ReplaceFileW would overwrite with the new file's), then gets its attributes back.
DWORD Restore(const FileCalls& calls, const std::wstring& target, DWORD attributes, bool swapped,
              DWORD patienceMs) {
    std::wstring backup = target + BackupSuffix;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!swapped) return ERROR_SUCCESS;
        if (DWORD code = CheckOursByName(target)) return code;
        return Patiently(patienceMs, [&] {
            DWORD code = calls.deleteFile(target.c_str()) ? ERROR_SUCCESS : ::GetLastError();
            return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
        });
    }
    if (Exists(backup)) {
        if (DWORD code = CheckOursByName(backup)) return code;
        if (DWORD code = CheckOursByName(target)) return code;
        if (DWORD code = Patiently(patienceMs, [&] {
                return calls.moveFile(backup.c_str(), target.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                           ? ERROR_SUCCESS
                           : ::GetLastError();
            }))
            return code;
    }
    if (::GetFileAttributesW(target.c_str()) != attributes &&
        !::SetFileAttributesW(target.c_str(), attributes))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

DWORD UndoJournal(const FileCalls& calls, HANDLE journal, const std::vector<std::wstring>& targets,
                  DWORD patienceMs) {
    std::optional<std::vector<JournalEntry>> entries = ReadJournal(journal);
    if (!entries) return ERROR_SUCCESS;
    std::vector<std::size_t> named = TargetsNamed(*entries, targets);
    for (std::size_t i = named.size(); i-- > 0;)
        if (DWORD code =
                Restore(calls, targets[named[i]], (*entries)[i].attributes, true, patienceMs))
            return code;
    return ERROR_SUCCESS;
}

DWORD RemoveLeftovers(const std::vector<std::wstring>& targets, DWORD patienceMs) {
    for (const std::wstring& target : targets)
        for (const wchar_t* suffix : {NewSuffix, BackupSuffix})
            if (DWORD code = Patiently(patienceMs, [&] { return RemoveLeftover(target + suffix); }))
                return code;
    return ERROR_SUCCESS;
}
