#pragma once

#include <cstddef>
#include <string>

// The text of a string value (REG_SZ or REG_EXPAND_SZ) from its stored bytes: UTF-16LE taken up
// to the first NUL. Stored data need not be terminated, nor hold whole characters (an odd last
// byte is dropped); nothing else is trimmed, so a trailing backslash stays.
inline std::u16string RegistryStringFromBytes(const unsigned char* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\0') break;
        text.push_back(unit);
    }
    return text;
}
