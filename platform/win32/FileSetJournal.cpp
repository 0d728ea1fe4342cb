#include "platform/win32/FileSetJournal.h"

#include <algorithm>

#include "platform/win32/OurFiles.h"
#include "platform/win32/UniqueHandle.h"

namespace {

// A file of ours, or one that is missing; anything else is left alone.
DWORD CheckOursByName(const std::wstring& folder, const std::wstring& path) {
    UniqueFile file;
    return OpenOurs(folder, path, FILE_READ_ATTRIBUTES, file);
}

// Removes a file of ours, or nothing if it is missing, through the handle that was checked.
DWORD RemoveOurs(const FileCalls& calls, const std::wstring& folder, const std::wstring& path) {
    UniqueFile file;
    if (DWORD code = OpenOurs(folder, path, DELETE, file)) return code;
    if (!file) return ERROR_SUCCESS;
    return RemoveWhenClosed(calls, file.get());
}

// The targets a journal names, in its order, if it names nothing else and each target once.
std::vector<std::size_t> TargetsNamed(const std::vector<JournalLine>& lines,
                                      const std::vector<std::wstring>& targets) {
    std::vector<std::size_t> named;
    for (const JournalLine& line : lines) {
        auto target = std::find_if(targets.begin(), targets.end(), [&](const std::wstring& t) {
            return SameName(NameOf(t), line.name);
        });
        std::size_t index = target - targets.begin();
        if (target == targets.end() || std::find(named.begin(), named.end(), index) != named.end())
            return {};
        named.push_back(index);
    }
    return named;
}

}  // namespace

DWORD WriteJournal(const FileCalls& calls, HANDLE journal, const std::vector<JournalLine>& lines) {
    std::vector<unsigned char> bytes = FormatJournal(lines);
    DWORD size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (::SetFilePointer(journal, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !calls.writeFile(journal, bytes.data(), size, &written, nullptr) ||
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

std::optional<std::vector<JournalLine>> ReadJournal(HANDLE journal) {
    DWORD size = ::GetFileSize(journal, nullptr);
    if (size == INVALID_FILE_SIZE || size == 0 || size > LargestJournal) return std::nullopt;
    std::vector<unsigned char> bytes(size);
    DWORD read = 0;
    if (::SetFilePointer(journal, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::ReadFile(journal, bytes.data(), size, &read, nullptr) || read != size)
        return std::nullopt;
    return ParseJournal(bytes.data(), bytes.size());
}

// The old file returns from its backup by a rename through its handle (not ReplaceFileW: the
// backup is the old file itself, with its own security and times, which ReplaceFileW would
// overwrite with the new file's), then gets its attributes back. Every step goes through a
// handle that was checked, so no name planted meanwhile leads elsewhere.
DWORD Restore(const FileCalls& calls, const std::wstring& folder, const OurNames& names,
              const std::wstring& target, DWORD attributes, bool swapped, DWORD patienceMs) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return swapped ? Patiently(patienceMs, [&] { return RemoveOurs(calls, folder, target); })
                       : ERROR_SUCCESS;
    UniqueFile backup;
    if (DWORD code = Patiently(
            patienceMs, [&] { return OpenOurs(folder, target + names.backup, DELETE, backup); }))
        return code;
    if (backup) {
        if (DWORD code = CheckOursByName(folder, target)) return code;
        if (DWORD code =
                Patiently(patienceMs, [&] { return RenameTo(calls, backup.get(), target, true); }))
            return code;
        backup.reset();
    }
    return SetAttributesOfOurs(calls, folder, target, attributes);
}

DWORD UndoJournal(const FileCalls& calls, HANDLE journal, const std::wstring& folder,
                  const OurNames& names, const std::vector<std::wstring>& targets,
                  DWORD patienceMs) {
    std::optional<std::vector<JournalLine>> lines = ReadJournal(journal);
    if (!lines) return ERROR_SUCCESS;
    std::vector<std::size_t> named = TargetsNamed(*lines, targets);
    for (std::size_t i = named.size(); i-- > 0;)
        if (DWORD code = Restore(calls, folder, names, targets[named[i]], (*lines)[i].attributes,
                                 true, patienceMs))
            return code;
    return ERROR_SUCCESS;
}

DWORD RemoveLeftovers(const FileCalls& calls, const std::wstring& folder, const OurNames& names,
                      const std::vector<std::wstring>& targets, DWORD patienceMs) {
    for (const std::wstring& target : targets)
        for (const std::wstring* suffix : {&names.fresh, &names.backup})
            if (DWORD code = Patiently(patienceMs,
                                       [&] { return RemoveOurs(calls, folder, target + *suffix); }))
                return code;
    return ERROR_SUCCESS;
}
