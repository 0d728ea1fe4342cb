#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Failure.h"

inline constexpr std::uint32_t ArchiveAttribute = 0x20;

// New contents for several files of one folder that take effect together or not at all. A set
// destroyed without a successful Commit leaves every target as it was and nothing of its own.
class FileSet {
  public:
    virtual ~FileSet() = default;

    // Writes the new contents beside the target (one of the set's) and checks them there; the
    // target itself is not changed, only held: until the set ends others may read it but not
    // write, rename or remove it. The folder must exist; none is created. Throws
    // Failure with "Cannot create file \"<path>\". <system text>" when the file cannot
    // be written or the target could not be replaced (held open elsewhere, access denied, a link),
    // and "Stream write error" when fewer bytes than asked were written or they did not read back
    // the same. After a failure the set can only be dropped.
    virtual void Stage(const std::string& path, const unsigned char* data, std::size_t size) = 0;

    // Replaces every staged target, in staging order; each ends with exactly its staged bytes and
    // the archive attribute only. Throws ReplaceFailed after putting back every target as it was.
    virtual void Commit() = 0;
};

// A target that Commit could not replace; `index` counts the staged files from 0.
class ReplaceFailed : public Failure {
  public:
    ReplaceFailed(std::size_t index, const std::string& message) : Failure(message), index(index) {}
    std::size_t index;
};

// What a set calls the files it keeps beside its targets, names no other program uses: its journal
// in the targets' folder, and the suffixes of a target's new file and of its backup.
struct FileSetNames {
    const char* journal;
    const char* newSuffix;
    const char* backupSuffix;
};

class Files {
  public:
    virtual ~Files() = default;

    // `targets` are every file the set may stage, all in one folder; a set only ever acts on
    // them and on files named after them. A set left half-done by a process that was ended is
    // undone by the first Stage of the next set with the same targets, before anything else
    // happens there; while another set is at work in the folder, that Stage waits for it a while.
    virtual std::unique_ptr<FileSet> BeginSet(const std::vector<std::string>& targets) = 0;
};
