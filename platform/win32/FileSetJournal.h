#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Win32Files.h"

// What a set notes in its folder before it replaces anything: each target's name and the
// attributes it had, so that a set cut off while swapping can be undone by the next one.
struct JournalEntry {
    std::wstring name;  // a plain file name in the journal's folder
    DWORD attributes;   // INVALID_FILE_ATTRIBUTES: the target did not exist
};

// Writes the entries as the journal's whole content and flushes them to the disk; an error code,
// or 0.
DWORD WriteJournal(const FileCalls& calls, HANDLE journal,
                   const std::vector<JournalEntry>& entries);

// An empty journal, flushed to the disk: nothing to undo.
DWORD ClearJournal(HANDLE journal);

// The entries of a journal that was written in full. Nothing when it is empty, unreadable or was
// cut off while being written: nothing had been swapped then.
std::optional<std::vector<JournalEntry>> ReadJournal(HANDLE journal);

// Puts one target back as the journal found it; an error code, or 0. A target that did not exist
// is removed again if `swapped` says that the set put it there.
DWORD Restore(const FileCalls& calls, const std::wstring& target, DWORD attributes, bool swapped,
              DWORD patienceMs);

// Undoes the set that a found journal records, last target first, if it got as far as swapping
// and names nothing but `targets`, each once; a journal that names anything else is never acted
// on. An error code, or 0.
DWORD UndoJournal(const FileCalls& calls, HANDLE journal, const std::vector<std::wstring>& targets,
                  DWORD patienceMs);

// Removes our files that earlier sets left beside the targets; an error code, or 0.
DWORD RemoveLeftovers(const std::vector<std::wstring>& targets, DWORD patienceMs);
