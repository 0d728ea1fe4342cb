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

// A set writes each new file beside its target and checks it there, and holds each target open
// from then on, so that nobody writes, renames or removes it meanwhile and the file that was
// checked is the one swapped. Commit notes the targets in a journal, swaps the files in by
// renaming them through their handles and empties the journal, which is the moment the set takes
// effect.
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

// The name a rename through a handle wants for a path: the one the system gives what CreateFileW
// opens, "\??\C:\..." or "\??\UNC\server\share\...".
std::wstring SystemName(const std::wstring& path) {
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(),
                                   nullptr));
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0)
        return L"\\??\\" + full.substr(4);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

// Gives the file open as `file` the name `path`, which must be free: nothing is ever replaced.
bool RenameTo(const FileCalls& calls, HANDLE file, const std::wstring& path) {
    std::wstring name = SystemName(path);
    // NOLINTNEXTLINE(bugprone-misplaced-widening-cast): size_t and DWORD are both 32 bits here.
    DWORD bytes = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + bytes);  // zeroed: terminated
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->FileNameLength = bytes;
    std::copy(name.begin(), name.end(), rename->FileName);
    return calls.setFileInformation(file, FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()));
}

// Removes the file open as `file` when the last handle to it is closed.
bool RemoveWhenClosed(const FileCalls& calls, HANDLE file) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return calls.setFileInformation(file, FileDispositionInfo, &dispose, sizeof dispose);
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

// The new file is written and read back past the system's cache where the file system allows
// it (a share may have acknowledged a write it did not keep), through the one handle: in whole
// sectors between sector-aligned memory and the disk, the end trimmed after the write. Windows
// knows disks of 512- and 4096-byte sectors only.
constexpr std::size_t Sector = 4096;

// Creates the new file, its handle in `file`; an error code, or 0. Some file systems refuse the
// unbuffered way: then it goes through the cache.
DWORD CreateNew(const std::wstring& path, UniqueFile& file) {
    for (DWORD unbuffered : {DWORD(FILE_FLAG_NO_BUFFERING), DWORD(0)}) {
        file.reset(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_ARCHIVE | unbuffered, nullptr));
        if (file) return ERROR_SUCCESS;
        if (::GetLastError() != ERROR_INVALID_PARAMETER) break;
    }
    return ::GetLastError();
}

// Writes the bytes, makes them durable and compares what the disk gives back with them; an error
// code, NotAsWritten, or 0.
DWORD WriteChecked(const FileCalls& calls, HANDLE file, const unsigned char* data,
                   std::size_t size, std::vector<unsigned char>& buffer) {
    std::size_t padded = (size + Sector - 1) / Sector * Sector;
    std::size_t room = padded + Sector;  // more than expected, to see it
    buffer.assign(Sector + padded + room, 0);
    unsigned char* out =
        buffer.data() + (Sector - reinterpret_cast<std::uintptr_t>(buffer.data()) % Sector) % Sector;
    unsigned char* in = out + padded;
    std::copy(data, data + size, out);
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!WriteAll(calls, file, out, padded)) return NotAsWritten;
    if (!::SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end) ||
        !::FlushFileBuffers(file) ||
        ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return ::GetLastError();
    std::size_t total = 0;
    for (DWORD read = 0; total < room; total += read) {
        if (!::ReadFile(file, in + total, static_cast<DWORD>(room - total), &read, nullptr))
            return ::GetLastError();
        if (read % Sector != 0 || read == 0) {  // the end of the file
            total += read;
            break;
        }
    }
    return total == size && std::equal(data, data + size, in) ? ERROR_SUCCESS : NotAsWritten;
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
        Release();
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
        Staged file{path, target, {}, {}};
        if (DWORD code = Patiently(patience.transientMs, [&] { return Hold(file); }))
            throw CreateError(path, code);

        if (DWORD code = CreateNew(target + NewSuffix, file.fresh)) throw CreateError(path, code);
        staged.push_back(std::move(file));
        if (DWORD code = WriteChecked(calls, staged.back().fresh.get(), data, size, buffer))
            throw CreateError(path, code);
        failed = false;
    }

    void Commit() override {
        if (failed || committed) throw Failure("the set is closed");
        if (staged.empty()) return;
        failed = true;
        std::vector<JournalEntry> entries;
        for (std::size_t i = 0; i < staged.size(); ++i) {
            Staged& file = staged[i];
            // A target that was missing when staged may have appeared since; it is held now.
            DWORD code = file.old ? ERROR_SUCCESS
                                  : Patiently(patience.transientMs, [&] { return Hold(file); });
            FILE_BASIC_INFO basic{};
            basic.FileAttributes = INVALID_FILE_ATTRIBUTES;
            if (!code && file.old &&
                !::GetFileInformationByHandleEx(file.old.get(), FileBasicInfo, &basic,
                                                sizeof basic))
                code = ::GetLastError();
            if (code) throw ReplaceFailed(i, CreateError(file.path, code).what());
            entries.push_back({NameOf(file.target), basic.FileAttributes});
        }
        if (DWORD code = WriteJournal(calls, journal.get(), entries))
            throw CreateError(Narrow(journalPath), code);

        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (DWORD code = Swap(staged[i])) {
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
        // The old files go through the handles that held them, the journal last; a backup that
        // cannot be removed now is left with it to the next set. Read-only refuses removal, and
        // the handle has no right to change attributes (Wine would not grant it on a read-only
        // file), so the attribute is cleared by the name, which our handle keeps.
        bool removed = true;
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (!staged[i].old) continue;
            if (entries[i].attributes & FILE_ATTRIBUTE_READONLY)
                ::SetFileAttributesW((staged[i].target + BackupSuffix).c_str(),
                                     FILE_ATTRIBUTE_NORMAL);
            removed = RemoveWhenClosed(calls, staged[i].old.get()) && removed;
        }
        Release();
        if (removed) RemoveWhenClosed(calls, journal.get());
        journal.reset();
        journalIsOurs = false;
    }

  private:
    struct Staged {
        std::string path;  // as given, for messages
        std::wstring target;
        UniqueFile old;    // the target, held from staging on; empty while it does not exist
        UniqueFile fresh;  // the new file, beside it until the swap
    };

    // Opens the target so that it can be renamed aside and removed, letting only readers in:
    // whatever holds it otherwise (the host program, usually) would stop the swap, so it stops the
    // set at this entry, before anything is replaced. A read-only target is still ours to replace.
    DWORD Hold(Staged& file) {
        return OpenOurs(file.target, GENERIC_READ | DELETE, file.old, FILE_SHARE_READ);
    }

    // Lets go of every file the set holds, before anything is done by name.
    void Release() {
        for (Staged& file : staged) {
            file.old.reset();
            file.fresh.reset();
        }
    }

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
                    journalPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                    OPEN_ALWAYS,
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

    // The old file steps aside to its backup name, then the new one takes the target's name, both
    // through the handles held since staging: no reader or name that changed meanwhile comes in
    // between. The new file keeps its own attributes (the archive one only), the backup the old
    // file's. A target that does not exist yet gets the new file only if nothing took its name.
    DWORD Swap(Staged& file) {
        if (file.old && !RenameTo(calls, file.old.get(), file.target + BackupSuffix))
            return ::GetLastError();
        return RenameTo(calls, file.fresh.get(), file.target) ? ERROR_SUCCESS : ::GetLastError();
    }

    // Puts back the targets before `failing`, which were swapped, and the one that failed, which
    // may be half-swapped; what cannot be put back now is left to the next set with the journal.
    void Undo(const std::vector<JournalEntry>& entries, std::size_t failing) {
        Release();
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
    std::vector<unsigned char> buffer;  // for the unbuffered transfers
    bool failed = false;
    bool committed = false;
};

}  // namespace

std::unique_ptr<FileSet> Win32Files::BeginSet(const std::vector<std::string>& targets) {
    return std::make_unique<Win32FileSet>(calls, patience, targets);
}
