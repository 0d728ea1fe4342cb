#pragma once

#include <string>

// UTF-16 code units, one to an element. Windows' own wide string, so that the Win32 layer takes
// it as it is and the executable carries one wide string type (a second one costs 5 KB); where
// wchar_t is wider, each element holds one unit all the same.
using Utf16String = std::wstring;
