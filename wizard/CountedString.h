#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

// A length byte followed by up to 255 bytes of Windows-1250 text, 256 bytes in all.
struct CountedString {
    std::array<unsigned char, 256> bytes{};

    std::size_t Length() const { return bytes[0]; }
    std::string ToString() const {
        return std::string(reinterpret_cast<const char*>(bytes.data()) + 1, Length());
    }
    static CountedString FromBytes(const unsigned char (&source)[256]) {
        CountedString result;
        std::size_t length = source[0];
        result.bytes[0] = source[0];
        std::copy(source + 1, source + 1 + length, result.bytes.begin() + 1);
        return result;
    }
    bool operator==(const CountedString& other) const { return ToString() == other.ToString(); }
};
