#include <algorithm>
#include <cstdint>
#include <cstring>

#include "tests/fuzz/FuzzCheck.h"
#include "wizard/CountedString.h"

// The library fills a zeroed buffer; the owner's name is its first 256 bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsigned char buffer[256] = {};
    std::memcpy(buffer, data, std::min(size, sizeof buffer));
    CountedString owner = CountedString::FromBytes(buffer);
    std::string text = owner.ToString();
    FUZZ_CHECK(owner.Length() <= 255 && text.size() == buffer[0]);
    FUZZ_CHECK(std::memcmp(text.data(), buffer + 1, text.size()) == 0);
    FUZZ_CHECK(owner == CountedString::FromBytes(buffer));
    return 0;
}
