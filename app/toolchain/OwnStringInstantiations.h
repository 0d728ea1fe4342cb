// Included before every source of the product (size_flags in cmake/win32.cmake). The standard
// library declares std::string and std::wstring as instantiated inside itself, so a program that
// uses one member links the library's object with every member (some 35 KB each, kept whole because
// the unwind tables reference all of them). The library's own switch for its checked mode, -1,
// lifts that declaration for basic_string alone: only the members we use are instantiated, here,
// from the same headers, as a C++20 compilation does.
#pragma once

#include "LibraryVersion.h"

#if !defined(_GLIBCXX_EXTERN_TEMPLATE) || _GLIBCXX_EXTERN_TEMPLATE != 1
#error "the standard library no longer has the switch this relies on; drop this header"
#endif
#undef _GLIBCXX_EXTERN_TEMPLATE
// NOLINTNEXTLINE(bugprone-reserved-identifier,bugprone-macro-parentheses): the library's own name.
#define _GLIBCXX_EXTERN_TEMPLATE -1
