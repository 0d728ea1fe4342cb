#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Utf16.h"

// What a file set notes in its folder before it replaces anything: each target's name and the
// attributes it had, so that a set cut off while swapping can be undone by the next one. The
// text is UTF-16LE, one line per target ("0000002A Raport.rtf\n"), then "end\n": a journal
// without that last line was cut off before anything was swapped.
struct JournalLine {
    Utf16String name;          // a plain file name in the journal's folder
    std::uint32_t attributes;  // 0xFFFFFFFF: the target did not exist
};

// Ours are a few hundred bytes; a larger file is not read.
inline constexpr std::size_t LargestJournal = 1 << 20;

std::vector<unsigned char> FormatJournal(const std::vector<JournalLine>& lines);

// The lines of a journal that was written in full, exactly as FormatJournal writes them, each
// naming a plain file. Nothing otherwise: empty, cut off, damaged or not written by us.
std::optional<std::vector<JournalLine>> ParseJournal(const unsigned char* bytes, std::size_t size);

// A name that cannot reach outside its folder nor hide a part of itself from a comparison: not
// empty, "." or "..", without a separator, a drive's colon or a control character.
bool IsPlainName(const Utf16String& name);
