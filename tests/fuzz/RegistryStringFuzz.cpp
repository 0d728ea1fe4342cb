#include <cstdint>

#include "platform/RegistryString.h"
#include "tests/fuzz/FuzzCheck.h"

// The value's bytes become Location: every whole UTF-16LE unit before the first NUL, as stored.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Utf16String text = RegistryStringFromBytes(data, size);
    FUZZ_CHECK(text.size() <= size / 2);
    for (std::size_t i = 0; i < text.size(); ++i)
        FUZZ_CHECK(text[i] != 0 && text[i] == (data[2 * i] | data[2 * i + 1] << 8));
    std::size_t end = 2 * text.size();
    FUZZ_CHECK(end + 1 >= size || (data[end] == 0 && data[end + 1] == 0));
    return 0;
}
