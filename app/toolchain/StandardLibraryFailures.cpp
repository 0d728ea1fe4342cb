// The standard library's containers report their failures through these functions. The
// library's own versions throw std::length_error and its kin, whose copy-on-write message string
// brings a second string implementation (some 40 KB) into the executable; these throw the
// wizard's Failure with the same message, which every handler catches as a std::exception.
// Should the library call one more of them, its own object is linked again and the duplicate
// definitions stop the link.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <new>
#include <string>

#include "LibraryVersion.h"
#include "platform/Failure.h"

namespace {

void AppendDecimal(std::string& text, std::size_t value) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count > 0) text += digits[--count];
}

[[noreturn]] void ThrowFailure(const char* message) {
    throw Failure(message);
}

}  // namespace

// NOLINTNEXTLINE(cert-dcl58-cpp): the library's own hooks, replaced on purpose (see above).
namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}

void __throw_length_error(const char* message) {
    ThrowFailure(message);
}

void __throw_logic_error(const char* message) {
    ThrowFailure(message);
}

// The library formats these messages with %s, %zu and %% only.
// NOLINTNEXTLINE(cert-dcl50-cpp): the library declares it so.
void __throw_out_of_range_fmt(const char* format, ...) {
    std::string text;
    va_list arguments;
    va_start(arguments, format);
    for (const char* c = format; *c; ++c) {
        if (c[0] == '%' && c[1] == 's') {
            text += va_arg(arguments, const char*);
            ++c;
        } else if (c[0] == '%' && c[1] == 'z' && c[2] == 'u') {
            AppendDecimal(text, va_arg(arguments, std::size_t));
            c += 2;
        } else if (c[0] == '%' && c[1] == '%') {
            text += '%';
            ++c;
        } else {
            text += *c;
        }
    }
    va_end(arguments);
    throw Failure(text);
}

}  // namespace std
