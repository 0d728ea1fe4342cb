#include "platform/win32/Win32Files.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/Conventions.h"
#include "platform/Failure.h"
#include "platform/win32/FileSetJournal.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

// A set writes each new file beside its target and checks it there; Commit notes the targets in a
// journal, swaps the files in and empties the journal, which is the moment the set takes effect.
// Until then any failure, or a process ended half-way and the next set in the folder, puts every
// target back from its backup. Our files carry names no other program uses and exist only while
// the journal does, so a later run knows when to look for them and what it may remove.
namespace {

const wchar_t NewSuffix[] = L".z27z-new";
const wchar_t BackupSuffix[] = L".z27z-old";
const wchar_t JournalName[] = L"z27z.journal";

// Thrown for any failure to create or replace a target.
class CreateError : public Failure {
  public:
    CreateError(const std::string& path, DWORD code)
        : Failure("Cannot create file \"" + path + "\". " + SystemErrorText(code)) {}
};

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    return folder.back() == L'\\' || folder.back() == L'/' ? folder + name : folder + L"\\" + name;
}

bool EndsWith(const std::wstring& name, const wchar_t* suffix) {
    std::size_t length = std::wcslen(suffix);
    return name.size() > length && _wcsicmp(name.c_str() + name.size() - length, suffix) == 0;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// WriteFile takes at most a DWORD's worth and may write less than asked, so it is called until
// every byte is out; a call that writes nothing is a failure.
bool WriteAll(const FileCalls& calls, HANDLE file, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!calls.writeFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// Reads the file past the system's cache where the file system allows it (a share may have
// acknowledged a write it did not keep) and compares it with what was written.
bool ReadsBackAs(const std::wstring& path, const unsigned char* data, std::size_t size,
                 std::vector<unsigned char>& buffer) {
    // Unbuffered reads go in whole sectors into sector-aligned memory; 64 KiB covers any sector.
    constexpr std::size_t Align = 64 * 1024;
    std::size_t capacity = (size / Align + 1) * Align;  // room for more than expected, to see it
    buffer.resize(std::max(buffer.size(), capacity + Align));
    unsigned char* start =
        buffer.data() + (Align - reinterpret_cast<std::uintptr_t>(buffer.data()) % Align) % Align;
    for (DWORD flags : {DWORD(FILE_FLAG_NO_BUFFERING), DWORD(0)}) {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      flags | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) continue;
        std::size_t total = 0;
        DWORD read = 0;
        bool ok = true;
        while (total < capacity) {
            ok = ::ReadFile(file.get(), start + total, static_cast<DWORD>(capacity - total), &read,
                            nullptr);
            if (!ok || read == 0) break;
            total += read;
            if (read % Align != 0) break;  // the end of the file
        }
        if (ok) return total == size && std::equal(data, data + size, start);
    }  // some file systems refuse unbuffered reads: then through the cache
    return false;
}

// Whatever holds the target open (the host program, usually) would stop the swap, so it stops the
// set at this entry, before anything is replaced. Read access: a read-only target is still ours
// to replace.
DWORD CheckReplaceable(const std::wstring& target) {
    UniqueFile file(::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return ERROR_SUCCESS;
    DWORD code = ::GetLastError();
    return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
}

// Puts one target back as the journal found it. The old file returns from its backup by a rename
// (MoveFileExW, not ReplaceFileW: the backup is the old file itself, with its own security and
// times, which ReplaceFileW would overwrite with the new file's), then gets its attributes back.
// A target that did not exist is removed again if `swapped` says that the set put it there.
DWORD Restore(const FileCalls& calls, const std::wstring& folder, const JournalEntry& entry,
              bool swapped) {
    std::wstring target = Join(folder, entry.name);
    std::wstring backup = target + BackupSuffix;
    if (entry.attributes == INVALID_FILE_ATTRIBUTES) {
        if (swapped && !calls.deleteFile(target.c_str())) {
            DWORD code = ::GetLastError();
            if (code != ERROR_FILE_NOT_FOUND) return code;
        }
        return ERROR_SUCCESS;
    }
    if (Exists(backup) && !calls.moveFile(backup.c_str(), target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ::GetLastError();
    if (::GetFileAttributesW(target.c_str()) != entry.attributes &&
        !::SetFileAttributesW(target.c_str(), entry.attributes))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

// Our files left by an earlier set: new files it did not swap in, backups it did not remove.
DWORD RemoveLeftovers(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW(Join(folder, L"*.z27z-*").c_str(), &found));
    if (!find) return ERROR_SUCCESS;
    do {
        std::wstring name = found.cFileName;
        if ((EndsWith(name, NewSuffix) || EndsWith(name, BackupSuffix)) &&
            !::DeleteFileW(Join(folder, name).c_str()))
            return ::GetLastError();
    } while (::FindNextFileW(find.get(), &found));
    return ERROR_SUCCESS;
}

class Win32FileSet : public FileSet {
  public:
    explicit Win32FileSet(const FileCalls& calls) : calls(calls) {}
    Win32FileSet(const Win32FileSet&) = delete;
    Win32FileSet& operator=(const Win32FileSet&) = delete;

    ~Win32FileSet() override {
        bool removed = true;
        if (!committed)
            for (const Staged& file : staged)
                removed = (::DeleteFileW((file.target + NewSuffix).c_str()) ||
                           ::GetLastError() == ERROR_FILE_NOT_FOUND) &&
                          removed;
        journal.reset();
        if (journalIsOurs && removed) ::DeleteFileW(journalPath.c_str());
    }

    void Stage(const std::string& path, const unsigned char* data, std::size_t size) override {
        if (failed || committed) throw Failure("the set is closed");
        failed = true;  // until this file is in place
        std::wstring target = Widen(path);
        if (staged.empty())
            Open(FolderOf(target), path);
        else if (_wcsicmp(FolderOf(target).c_str(), folder.c_str()) != 0)
            throw Failure("a set lies in one folder");
        if (DWORD code = CheckReplaceable(target)) throw CreateError(path, code);

        staged.push_back({path, target});
        std::wstring fresh = target + NewSuffix;
        UniqueFile file(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!file) throw CreateError(path, ::GetLastError());
        if (!WriteAll(calls, file.get(), data, size)) throw Failure("Stream write error");
        if (!::FlushFileBuffers(file.get())) throw CreateError(path, ::GetLastError());
        file.reset();
        if (!ReadsBackAs(fresh, data, size, readBuffer)) throw Failure("Stream write error");
        failed = false;
    }

    void Commit() override {
        if (failed || committed) throw Failure("the set is closed");
        if (staged.empty()) return;
        failed = true;
        std::vector<JournalEntry> entries;
        for (std::size_t i = 0; i < staged.size(); ++i) {
            DWORD attributes = ::GetFileAttributesW(staged[i].target.c_str());
            DWORD code = ::GetLastError();
            if (attributes == INVALID_FILE_ATTRIBUTES && code != ERROR_FILE_NOT_FOUND)
                throw ReplaceFailed(i, CreateError(staged[i].path, code).what());
            entries.push_back({NameOf(staged[i].target), attributes});
        }
        if (DWORD code = WriteJournal(journal.get(), entries))
            throw CreateError(Narrow(journalPath), code);

        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (DWORD code = Swap(staged[i].target, entries[i].attributes)) {
                Undo(entries, i);
                throw ReplaceFailed(i, CreateError(staged[i].path, code).what());
            }
        }
        // The set takes effect here: an empty journal has nothing to undo.
        if (DWORD code = ClearJournal(journal.get())) {
            Undo(entries, staged.size());
            throw CreateError(Narrow(journalPath), code);
        }
        committed = true;
        failed = false;
        // The journal goes last; a backup that cannot be removed now is left with it to the next
        // set.
        bool removed = true;
        for (std::size_t i = 0; i < staged.size(); ++i)
            if (entries[i].attributes != INVALID_FILE_ATTRIBUTES)
                removed = calls.deleteFile((staged[i].target + BackupSuffix).c_str()) && removed;
        journal.reset();
        if (removed) calls.deleteFile(journalPath.c_str());
        journalIsOurs = false;
    }

  private:
    struct Staged {
        std::string path;  // as given, for messages
        std::wstring target;
    };

    // The journal is held open without sharing while the set lives, so a second installer at
    // work in the same folder stops here instead of undoing this one. Found, it is the journal of
    // a set that was cut off: its targets are put back, if it got as far as swapping, and its
    // files removed.
    void Open(const std::wstring& setFolder, const std::string& path) {
        folder = setFolder;
        journalPath = Join(folder, JournalName);
        journal.reset(::CreateFileW(journalPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!journal) throw CreateError(path, ::GetLastError());
        bool found = ::GetLastError() == ERROR_ALREADY_EXISTS;
        if (found) {
            if (std::optional<std::vector<JournalEntry>> entries = ReadJournal(journal.get())) {
                for (auto entry = entries->rbegin(); entry != entries->rend(); ++entry)
                    if (DWORD code = Restore(calls, folder, *entry, true))
                        throw CreateError(path, code);  // the journal stays for the next try
            }
        }
        journalIsOurs = true;
        if (!found) return;
        if (DWORD code = RemoveLeftovers(folder)) throw CreateError(path, code);
        if (DWORD code = ClearJournal(journal.get())) throw CreateError(path, code);
    }

    // Read-only is refused by ReplaceFileW, and the new file is to have the archive attribute
    // only (ReplaceFileW hands the old file's attributes on), so the target's are cleared first;
    // the journal holds them for an undo. ReplaceFileW keeps the old file's security descriptor
    // on the new one and leaves the old file as the backup. A target that does not exist yet
    // cannot be replaced: the new file is renamed to it, without MOVEFILE_REPLACE_EXISTING so
    // that a file that appeared meanwhile is not overwritten.
    DWORD Swap(const std::wstring& target, DWORD attributes) {
        std::wstring fresh = target + NewSuffix;
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return calls.moveFile(fresh.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)
                       ? ERROR_SUCCESS
                       : ::GetLastError();
        if (attributes != FILE_ATTRIBUTE_ARCHIVE &&
            !::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_ARCHIVE))
            return ::GetLastError();
        std::wstring backup = target + BackupSuffix;
        return calls.replaceFile(target.c_str(), fresh.c_str(), backup.c_str(),
                                 REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                 nullptr, nullptr)
                   ? ERROR_SUCCESS
                   : ::GetLastError();
    }

    // Puts back the targets before `failing`, which were swapped, and the one that failed, which
    // may be half-swapped; what cannot be put back now is left to the next set with the journal.
    void Undo(const std::vector<JournalEntry>& entries, std::size_t failing) {
        bool restored = true;
        for (std::size_t i = std::min(failing + 1, entries.size()); i-- > 0;)
            restored = Restore(calls, folder, entries[i], i < failing) == ERROR_SUCCESS && restored;
        journal.reset();
        journalIsOurs = restored;
    }

    FileCalls calls;
    std::wstring folder;
    std::wstring journalPath;
    UniqueFile journal;
    bool journalIsOurs = false;  // to delete when the set ends
    std::vector<Staged> staged;
    std::vector<unsigned char> readBuffer;
    bool failed = false;
    bool committed = false;
};

}  // namespace

std::unique_ptr<FileSet> Win32Files::BeginSet() {
    return std::make_unique<Win32FileSet>(calls);
}
