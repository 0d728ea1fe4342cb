#include "platform/win32/Win32Files.h"

#include <algorithm>
#include <vector>

#include "platform/Failure.h"
#include "platform/FolderOf.h"
#include "platform/win32/CheckedWrite.h"
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

// Staging and committing throw; what they call returns a code.
[[noreturn]] void Fail(const std::string& path, DWORD code) {
    throw Failure(FileErrorText(path, code));
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    return folder.back() == L'\\' || folder.back() == L'/' ? folder + name : folder + L"\\" + name;
}

class Win32FileSet : public FileSet {
  public:
    Win32FileSet(const FileSetNames& fileNames, const FileCalls& calls,
                 const FilePatience& patience, const std::vector<std::string>& paths)
        : names(fileNames), calls(calls), patience(patience) {
        for (const std::string& path : paths) targets.push_back(Widen(path));
        if (targets.empty()) return;
        folder = FolderOf(targets.front());
        for (const std::wstring& target : targets)
            if (!SameName(FolderOf(target), folder)) throw Failure("a set lies in one folder");
        journalPath = Join(folder, names.journal);
    }
    Win32FileSet(const Win32FileSet&) = delete;
    Win32FileSet& operator=(const Win32FileSet&) = delete;

    // What is left goes through the handles that were checked, the journal last.
    ~Win32FileSet() override {
        bool removed = true;
        if (!committed)
            for (Staged& file : staged)
                if (file.fresh)
                    removed = RemoveWhenClosed(calls, file.fresh.get()) == ERROR_SUCCESS && removed;
        Release();
        if (journal && journalIsOurs && removed) RemoveWhenClosed(calls, journal.get());
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
            Fail(path, code);

        if (DWORD code = CreateNew(target + names.fresh, file.fresh)) Fail(path, code);
        if (DWORD code = CheckOurs(file.fresh.get(), finalFolder, NameOf(target) + names.fresh))
            Fail(path, code);
        staged.push_back(std::move(file));
        if (DWORD code = WriteChecked(calls, staged.back().fresh.get(), data, size, buffer))
            Fail(path, code);
        failed = false;
    }

    void Commit() override {
        if (failed || committed) throw Failure("the set is closed");
        if (staged.empty()) return;
        failed = true;
        std::vector<JournalLine> entries;
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
            if (code) throw ReplaceFailed(i, FileErrorText(file.path, code));
            entries.push_back({NameOf(file.target), basic.FileAttributes});
        }
        if (DWORD code = WriteJournal(calls, journal.get(), entries))
            Fail(Narrow(journalPath), code);

        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (DWORD code = Swap(staged[i])) {
                Undo(entries, i);
                throw ReplaceFailed(i, FileErrorText(staged[i].path, code));
            }
        }
        // The set takes effect here: an empty journal has nothing to undo. It is on the disk
        // before any backup goes, or a power cut could leave a full journal without its backups.
        if (DWORD code = ClearJournal(journal.get())) {
            Undo(entries, staged.size());
            Fail(Narrow(journalPath), code);
        }
        committed = true;
        failed = false;
        // The old files go through the handles that held them, the journal last; a backup that
        // cannot be removed now is left with it to the next set. Read-only refuses removal.
        bool removed = true;
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (!staged[i].old) continue;
            if (entries[i].attributes & FILE_ATTRIBUTE_READONLY)
                SetAttributesOfOurs(calls, finalFolder, staged[i].target + names.backup,
                                    FILE_ATTRIBUTE_NORMAL);
            removed = RemoveWhenClosed(calls, staged[i].old.get()) == ERROR_SUCCESS && removed;
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
        return OpenOurs(finalFolder, file.target, GENERIC_READ | DELETE, file.old, FILE_SHARE_READ);
    }

    // Lets go of every file the set holds, before the files are put back through handles of
    // their own, or left.
    void Release() {
        for (Staged& file : staged) {
            file.old.reset();
            file.fresh.reset();
        }
    }

    // Another installer at work in the folder holds the journal; it may be making it or deleting
    // it just now.
    bool IsBusy(DWORD code) const {
        if (IsTransient(code) || code == ERROR_FILE_EXISTS) return true;
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
        if (DWORD code = FinalPathOfFolder(folder, finalFolder)) Fail(path, code);
        bool found = false;
        if (DWORD code = Patiently(
                patience.busySetMs, [&] { return OpenJournal(found); },
                [&](DWORD error) { return IsBusy(error); }))
            Fail(path, code);
        if (DWORD code = CheckOurs(journal.get(), finalFolder, names.journal)) {
            journal.reset();
            Fail(path, code);
        }
        if (found)
            if (DWORD code = UndoJournal(calls, journal.get(), finalFolder, names, targets,
                                         patience.transientMs))
                Fail(path, code);  // the journal stays for the next try
        journalIsOurs = true;
        if (DWORD code = RemoveLeftovers(calls, finalFolder, names, targets, patience.transientMs))
            Fail(path, code);
        if (found && ::GetFileSize(journal.get(), nullptr) != 0)
            if (DWORD code = ClearJournal(journal.get())) Fail(path, code);
    }

    // Opens the journal that is there, or makes one where nothing has the name: a link left
    // there, even one to nowhere, is not followed to make a file elsewhere.
    DWORD OpenJournal(bool& found) {
        for (DWORD disposition : {DWORD(OPEN_EXISTING), DWORD(CREATE_NEW)}) {
            HANDLE file = ::CreateFileW(
                journalPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            DWORD error = ::GetLastError();
            journal.reset(file);
            found = disposition == OPEN_EXISTING;
            if (journal) return ERROR_SUCCESS;
            if (error != ERROR_FILE_NOT_FOUND || !found) return error;
        }
        return ERROR_SUCCESS;
    }

    // The old file steps aside to its backup name, then the new one takes the target's name, both
    // through the handles held since staging: no reader or name that changed meanwhile comes in
    // between. The new file keeps its own attributes (the archive one only), the backup the old
    // file's. A target that does not exist yet gets the new file only if nothing took its name.
    DWORD Swap(Staged& file) {
        if (file.old)
            if (DWORD code = RenameTo(calls, file.old.get(), file.target + names.backup))
                return code;
        return RenameTo(calls, file.fresh.get(), file.target);
    }

    // Puts back the targets before `failing`, which were swapped, and the one that failed, which
    // may be half-swapped; the new files from `failing` on never took a target's name and go.
    // What cannot be put back now is left to the next set with the journal.
    void Undo(const std::vector<JournalLine>& entries, std::size_t failing) {
        bool restored = true;
        for (std::size_t i = failing; i < staged.size(); ++i)
            restored = RemoveWhenClosed(calls, staged[i].fresh.get()) == ERROR_SUCCESS && restored;
        Release();
        for (std::size_t i = std::min(failing + 1, entries.size()); i-- > 0;)
            restored = Restore(calls, finalFolder, names, staged[i].target, entries[i].attributes,
                               i < failing, patience.transientMs) == ERROR_SUCCESS &&
                       restored;
        journalIsOurs = restored;
    }

    OurNames names;
    FileCalls calls;
    FilePatience patience;
    std::vector<std::wstring> targets;
    std::wstring folder;
    std::wstring finalFolder;  // the folder's final path, which our files must lie in
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
    return std::make_unique<Win32FileSet>(names, calls, patience, targets);
}
