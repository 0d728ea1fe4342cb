#include "platform/win32/Win32Files.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/Failure.h"
#include "platform/FolderOf.h"
#include "platform/win32/FileSetJournal.h"
#include "platform/win32/OurFiles.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

// A set writes each new file beside its target and checks it there; Commit notes the targets in a
// journal, swaps the files in and empties the journal, which is the moment the set takes effect.
// Until then any failure, or a process ended half-way and the next set in the folder, puts every
// target back from its backup. Our files carry names no other program uses and exist only while
// the journal does, so a later run knows when to look for them and what it may remove.
namespace {

const wchar_t JournalName[] = L"z27z.journal";

// The error for a file that did not read back as it was written.
constexpr DWORD NotAsWritten = ERROR_CRC;

// Thrown for any failure to create or replace a target.
class CreateError : public Failure {
  public:
    CreateError(const std::string& path, DWORD code)
        : Failure(code == NotAsWritten
                      ? "Stream write error"
                      : "Cannot create file \"" + path + "\". " + SystemErrorText(code)) {}
};

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    return folder.back() == L'\\' || folder.back() == L'/' ? folder + name : folder + L"\\" + name;
}

// Whatever holds the target open without letting readers in (the host program, usually) would
// stop the swap, so it stops the set at this entry, before anything is replaced; a reader does
// not. Read access: a read-only target is still ours to replace.
DWORD CheckReplaceable(const std::wstring& target) {
    UniqueFile file;
    return OpenOurs(target, GENERIC_READ, file, FILE_SHARE_READ);
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
// acknowledged a write it did not keep) and compares it with what was written. Readers may have
// it open meanwhile; one that keeps others out is waited for by the caller.
DWORD ReadBack(const std::wstring& path, const unsigned char* data, std::size_t size,
               std::vector<unsigned char>& buffer) {
    // Unbuffered reads go in whole sectors into sector-aligned memory; 64 KiB covers any sector.
    constexpr std::size_t Align = 64 * 1024;
    std::size_t capacity = (size / Align + 1) * Align;  // room for more than expected, to see it
    buffer.resize(std::max(buffer.size(), capacity + Align));
    unsigned char* start =
        buffer.data() + (Align - reinterpret_cast<std::uintptr_t>(buffer.data()) % Align) % Align;
    for (DWORD flags : {DWORD(FILE_FLAG_NO_BUFFERING), DWORD(0)}) {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, flags | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            if (IsTransient(::GetLastError())) return ::GetLastError();
            continue;
        }
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
        if (ok)
            return total == size && std::equal(data, data + size, start) ? ERROR_SUCCESS
                                                                         : NotAsWritten;
    }  // some file systems refuse unbuffered reads: then through the cache
    return NotAsWritten;
}

class Win32FileSet : public FileSet {
  public:
    Win32FileSet(const FileCalls& calls, const FilePatience& patience,
                 const std::vector<std::string>& paths)
        : calls(calls), patience(patience) {
        for (const std::string& path : paths) targets.push_back(Widen(path));
        if (targets.empty()) return;
        folder = FolderOf(targets.front());
        for (const std::wstring& target : targets)
            if (!SameName(FolderOf(target), folder)) throw Failure("a set lies in one folder");
        journalPath = Join(folder, JournalName);
    }
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
        std::wstring target = Widen(path);
        if (std::none_of(targets.begin(), targets.end(),
                         [&](const std::wstring& ours) { return SameName(ours, target); }))
            throw Failure("not a target of the set");
        failed = true;  // until this file is in place
        if (!journal) Open(path);
        if (DWORD code = Patiently(patience.transientMs, [&] { return CheckReplaceable(target); }))
            throw CreateError(path, code);

        staged.push_back({path, target});
        std::wstring fresh = target + NewSuffix;
        UniqueFile file(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!file) throw CreateError(path, ::GetLastError());
        if (!WriteAll(calls, file.get(), data, size)) throw Failure("Stream write error");
        if (!::FlushFileBuffers(file.get())) throw CreateError(path, ::GetLastError());
        file.reset();
        if (DWORD code = Patiently(patience.transientMs,
                                   [&] { return ReadBack(fresh, data, size, readBuffer); }))
            throw CreateError(path, code);
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
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
                throw ReplaceFailed(i, CreateError(staged[i].path, NotOurFile).what());
            entries.push_back({NameOf(staged[i].target), attributes});
        }
        if (DWORD code = WriteJournal(calls, journal.get(), entries))
            throw CreateError(Narrow(journalPath), code);

        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (DWORD code = Swap(staged[i].target, entries[i].attributes)) {
                Undo(entries, i);
                throw ReplaceFailed(i, CreateError(staged[i].path, code).what());
            }
        }
        // The set takes effect here: an empty journal has nothing to undo. It is on the disk
        // before any backup goes, or a power cut could leave a full journal without its backups.
        if (DWORD code = ClearJournal(journal.get())) {
            Undo(entries, staged.size());
            throw CreateError(Narrow(journalPath), code);
        }
        committed = true;
        failed = false;
        // The journal goes last; a backup that cannot be removed now is left with it to the next
        // set. DeleteFileW removes a link itself, never what it points to.
        bool removed = true;
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (entries[i].attributes == INVALID_FILE_ATTRIBUTES) continue;
            std::wstring backup = staged[i].target + BackupSuffix;
            removed = Patiently(patience.transientMs,
                                [&] {
                                    return calls.deleteFile(backup.c_str()) ? ERROR_SUCCESS
                                                                            : ::GetLastError();
                                }) == ERROR_SUCCESS &&
                      removed;
        }
        journal.reset();
        if (removed) calls.deleteFile(journalPath.c_str());
        journalIsOurs = false;
    }

  private:
    struct Staged {
        std::string path;  // as given, for messages
        std::wstring target;
    };

    // Another installer at work in the folder holds the journal; it may be deleting it just now.
    bool IsBusy(DWORD code) const {
        if (IsTransient(code)) return true;
        return code == ERROR_ACCESS_DENIED &&
               ::GetFileAttributesW(journalPath.c_str()) == INVALID_FILE_ATTRIBUTES &&
               ::GetLastError() == ERROR_ACCESS_DENIED;
    }

    // The journal is held open without sharing while the set lives, so a second installer at
    // work in the same folder waits here instead of undoing this one. Found, it is the journal of
    // a set that was cut off: its targets are put back, if it got as far as swapping, provided it
    // names nothing but our targets; one that does not is never acted on and is replaced by ours.
    // Then our files left by earlier sets are removed.
    void Open(const std::string& path) {
        bool found = false;
        DWORD code = Patiently(
            patience.busySetMs,
            [&] {
                journal.reset(::CreateFileW(
                    journalPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
                DWORD error = ::GetLastError();
                found = error == ERROR_ALREADY_EXISTS;
                return journal ? ERROR_SUCCESS : error;
            },
            [&](DWORD error) { return IsBusy(error); });
        if (code) throw CreateError(path, code);
        if (found) {
            if (DWORD code = CheckOurs(journal.get())) {
                journal.reset();
                throw CreateError(path, code);
            }
            if (DWORD code = UndoJournal(calls, journal.get(), targets, patience.transientMs))
                throw CreateError(path, code);  // the journal stays for the next try
        }
        journalIsOurs = true;
        if (DWORD code = RemoveLeftovers(targets, patience.transientMs))
            throw CreateError(path, code);
        if (found && ::GetFileSize(journal.get(), nullptr) != 0)
            if (DWORD code = ClearJournal(journal.get())) throw CreateError(path, code);
    }

    // Read-only is refused by ReplaceFileW, and the new file is to have the archive attribute
    // only (ReplaceFileW hands the old file's attributes on), so the target's are cleared first;
    // the journal holds them for an undo. ReplaceFileW keeps the old file's security descriptor
    // on the new one and leaves the old file as the backup. A target that does not exist yet
    // cannot be replaced: the new file is renamed to it, without MOVEFILE_REPLACE_EXISTING so
    // that a file that appeared meanwhile is not overwritten. A reader in the way is waited for
    // as long as both files are still where they were.
    DWORD Swap(const std::wstring& target, DWORD attributes) {
        std::wstring fresh = target + NewSuffix;
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return Patiently(patience.transientMs, [&] {
                return calls.moveFile(fresh.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)
                           ? ERROR_SUCCESS
                           : ::GetLastError();
            });
        if (attributes != FILE_ATTRIBUTE_ARCHIVE &&
            !::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_ARCHIVE))
            return ::GetLastError();
        std::wstring backup = target + BackupSuffix;
        // A reader of the new file may stop ReplaceFileW after the old one went to the backup;
        // the old one is then put back before the next try.
        bool halfSwapped = false;
        return Patiently(
            patience.transientMs,
            [&] {
                if (halfSwapped) {
                    if (!calls.moveFile(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
                        return ::GetLastError();
                    halfSwapped = false;
                }
                if (calls.replaceFile(
                        target.c_str(), fresh.c_str(), backup.c_str(),
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr))
                    return DWORD(ERROR_SUCCESS);
                DWORD code = ::GetLastError();
                halfSwapped = !Exists(target) && Exists(backup);
                return code;
            },
            [&](DWORD code) {
                return (IsTransient(code) || code == ERROR_UNABLE_TO_REMOVE_REPLACED ||
                        code == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                        code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) &&
                       Exists(fresh) && (halfSwapped || (Exists(target) && !Exists(backup)));
            });
    }

    // Puts back the targets before `failing`, which were swapped, and the one that failed, which
    // may be half-swapped; what cannot be put back now is left to the next set with the journal.
    void Undo(const std::vector<JournalEntry>& entries, std::size_t failing) {
        bool restored = true;
        for (std::size_t i = std::min(failing + 1, entries.size()); i-- > 0;)
            restored = Restore(calls, staged[i].target, entries[i].attributes, i < failing,
                               patience.transientMs) == ERROR_SUCCESS &&
                       restored;
        journal.reset();
        journalIsOurs = restored;
    }

    FileCalls calls;
    FilePatience patience;
    std::vector<std::wstring> targets;
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

std::unique_ptr<FileSet> Win32Files::BeginSet(const std::vector<std::string>& targets) {
    return std::make_unique<Win32FileSet>(calls, patience, targets);
}
