#include "platform/win32/Text.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace {
constexpr UINT WindowsCentralEuropean = 1250;
}

std::wstring Widen(const std::string& cp1250) {
    if (cp1250.empty()) return {};
    int length = ::MultiByteToWideChar(WindowsCentralEuropean, 0, cp1250.data(),
                                       static_cast<int>(cp1250.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(WindowsCentralEuropean, 0, cp1250.data(), static_cast<int>(cp1250.size()),
                          result.data(), length);
    return result;
}

std::string Narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    int length =
        ::WideCharToMultiByte(WindowsCentralEuropean, 0, utf16.data(),
                              static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(WindowsCentralEuropean, 0, utf16.data(), static_cast<int>(utf16.size()),
                          result.data(), length, nullptr, nullptr);
    return result;
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    UniqueLocalMemory owned(buffer);
    std::wstring text = length ? std::wstring(buffer, length) : L"";
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return "System error " + HexCode(code);
    return Narrow(text);
}

std::string HexCode(unsigned long code) {
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, code >>= 4) text[i] = "0123456789ABCDEF"[code & 0xF];
    return text;
}

std::wstring WindowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}
