#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/JournalText.h"
#include "platform/win32/OurFiles.h"
#include "platform/win32/Win32Files.h"

// The journal's text is portable (platform/JournalText.h); here it is read and written, and what
// it records is undone. `folder` is the final path of the set's folder (FinalPathOfFolder).

// Writes the lines as the journal's whole content and flushes them to the disk; an error code,
// or 0.
DWORD WriteJournal(const FileCalls& calls, HANDLE journal, const std::vector<JournalLine>& lines);

// An empty journal, flushed to the disk: nothing to undo.
DWORD ClearJournal(HANDLE journal);

// The lines of a journal that was written in full. Nothing when it is empty, unreadable, cut off
// while being written (nothing had been swapped then) or not as we write it.
std::optional<std::vector<JournalLine>> ReadJournal(HANDLE journal);

// Puts one target back as the journal found it; an error code, or 0. A target that did not exist
// is removed again if `swapped` says that the set put it there.
DWORD Restore(const FileCalls& calls, const std::wstring& folder, const OurNames& names,
              const std::wstring& target, DWORD attributes, bool swapped, DWORD patienceMs);

// Undoes the set that a found journal records, last target first, if it got as far as swapping
// and names nothing but `targets`, each once; a journal that names anything else is never acted
// on. An error code, or 0.
DWORD UndoJournal(const FileCalls& calls, HANDLE journal, const std::wstring& folder,
                  const OurNames& names, const std::vector<std::wstring>& targets,
                  DWORD patienceMs);

// Removes our files that earlier sets left beside the targets; an error code, or 0.
DWORD RemoveLeftovers(const FileCalls& calls, const std::wstring& folder, const OurNames& names,
                      const std::vector<std::wstring>& targets, DWORD patienceMs);
