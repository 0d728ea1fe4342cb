#pragma once

#include <windows.h>

#include <string>

// The wizard's texts are Windows-1250 bytes; Windows gets UTF-16, so every text is converted
// here and the program reads the same on any system code page.
std::wstring Widen(const std::string& cp1250);
std::string Narrow(const std::wstring& utf16);

// The system's message text for an error code, in Windows-1250.
std::string SystemErrorText(unsigned long code);

// A 32-bit code as eight upper-case hex digits, as Windows writes exception codes. Formatted by
// hand: the printf family would add some 40 KB to the executable.
std::string HexCode(unsigned long code);

// A window's own text.
std::wstring WindowText(HWND window);
