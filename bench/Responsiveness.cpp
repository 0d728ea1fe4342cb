// How long the real wizard leaves its main window unanswered (WM_NULL sent every 25 ms from here):
// sitting idle on page 1 for 3 s, during the search with a library that takes 3 s in TestSiec,
// and during the installation while another holder keeps the set's journal for 4 s. Prints the
// three figures in ms, each the worst of the runs. Usage:
//   Responsiveness <Instalator.exe> <library.dll> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/support/AnswerGaps.h"
#include "tools/WidgetWindow.h"
#include "window/Layout.h"

namespace {

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 30000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (condition()) return true;
    return false;
}

HWND MainWindowOf(DWORD processId) {
    std::wstring title = Widen(LayoutOf(Widget::Form1).content);
    for (HWND window = nullptr;
         (window = FindWindowExW(nullptr, window, nullptr, title.c_str()));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

bool Shown(HWND main, Widget widget) {
    HWND window = WidgetWindow(main, widget);
    return window && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
}

void Click(HWND main, Widget widget) {
    PostMessageW(WidgetWindow(main, widget), BM_CLICK, 0, 0);
}

void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return;
    do {
        std::wstring path = folder + L"\\" + found.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find.get(), &found));
}

struct Figures {
    long idle = 0, library = 0, set = 0;
};

// One walk of the wizard through its three pages; false when it went wrong.
bool Walk(const std::wstring& exe, const std::wstring& host, Figures& worst) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    HWND main = nullptr;
    bool ok = WaitFor([&] { return (main = MainWindowOf(info.dwProcessId)) != nullptr; }) &&
              WaitFor([&] { return WidgetWindow(main, Widget::TabSheet3) != nullptr; });
    if (ok) {
        AnswerGaps idle(main);
        Sleep(3000);
        worst.idle = std::max(worst.idle, static_cast<long>(idle.Stop().count()));

        AnswerGaps search(main);
        Click(main, Widget::BitBtn2);
        ok = WaitFor([&] { return !Shown(main, Widget::TabSheet1); });
        worst.library = std::max(worst.library, static_cast<long>(search.Stop().count()));
    }
    if (ok) {
        UniqueFile journal(CreateFileW((host + L"\\SZABLONY\\z27z.journal").c_str(),
                                       GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        AnswerGaps set(main);
        Click(main, Widget::BitBtn2);
        Sleep(4000);
        journal.reset();
        ok = WaitFor([&] { return !Shown(main, Widget::TabSheet2); });
        worst.set = std::max(worst.set, static_cast<long>(set.Stop().count()));
    }
    Click(main, Widget::BitBtn4);
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
        ok = false;
    }
    EmptyFolder(host + L"\\SZABLONY");
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: Responsiveness <Instalator.exe> <library.dll> [runs]\n");
        return 2;
    }
    int runs = argc > 3 ? _wtoi(argv[3]) : 3;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring host = std::wstring(temp) + L"responsiveness-bench";
    CreateDirectoryW(host.c_str(), nullptr);
    CreateDirectoryW((host + L"\\SZABLONY").c_str(), nullptr);
    EmptyFolder(host + L"\\SZABLONY");
    if (!CopyFileW(argv[2], (host + L"\\KORDALIN.dll").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %ls\n", argv[2]);
        return 1;
    }
    UniqueRegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"KvTesmaren", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS ||
        RegSetValueExW(key.get(), L"Lokalizacja", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(host.c_str()),
                       static_cast<DWORD>((host.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot set HKCU\\KvTesmaren\n");
        return 1;
    }
    Figures worst;
    for (int run = 0; run < runs; ++run) {
        if (!Walk(argv[1], host, worst)) {
            std::fprintf(stderr, "run %d: the wizard did not go through its pages\n", run + 1);
            return 1;
        }
    }
    key.reset();
    RegDeleteKeyW(HKEY_CURRENT_USER, L"KvTesmaren");
    std::printf("%ld %ld %ld\n", worst.idle, worst.library, worst.set);
    return 0;
}
