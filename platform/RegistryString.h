#pragma once

#include <cstddef>
#include <string>

#include "platform/Utf16.h"

// The text of a string value (REG_SZ or REG_EXPAND_SZ) from its stored bytes: UTF-16LE taken up
// to the first NUL. Stored data need not be terminated, nor hold whole characters (an odd last
// byte is dropped); nothing else is trimmed, so a trailing backslash stays.
inline Utf16String RegistryStringFromBytes(const unsigned char* data, std::size_t size) {
    Utf16String text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\0') break;
        text.push_back(unit);
    }
    return text;
}
