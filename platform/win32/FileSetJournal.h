#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// What a set notes in its folder before it replaces anything: each target's name and the
// attributes it had, so that a set cut off while swapping can be undone by the next one.
struct JournalEntry {
    std::wstring name;  // a plain file name in the journal's folder
    DWORD attributes;   // INVALID_FILE_ATTRIBUTES: the target did not exist
};

// Writes the entries as the journal's whole content and flushes them to the disk; an error code,
// or 0.
DWORD WriteJournal(HANDLE journal, const std::vector<JournalEntry>& entries);

// An empty journal, flushed to the disk: nothing to undo.
DWORD ClearJournal(HANDLE journal);

// The entries of a journal that was written in full. Nothing when it is empty, unreadable or was
// cut off while being written: nothing had been swapped then.
std::optional<std::vector<JournalEntry>> ReadJournal(HANDLE journal);
