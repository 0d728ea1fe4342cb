#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/JournalText.h"

// A journal found in a shared folder may hold anything. What the reader takes from it must be
// exactly what the writer would have written, and name only files inside the folder.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<std::vector<JournalLine>> lines = ParseJournal(data, size);
    if (!lines) return 0;
    if (FormatJournal(*lines) != std::vector<unsigned char>(data, data + size)) std::abort();
    for (const JournalLine& line : *lines) {
        if (line.name.empty() || line.name == L"." || line.name == L"..") std::abort();
        for (wchar_t c : line.name)
            if (c < 0x20 || c == 0x7F || c == L'\\' || c == L'/' || c == L':') std::abort();
    }
    return 0;
}
