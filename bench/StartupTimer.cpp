// Times a GUI program from process creation to its first painted, visible top-level window,
// as the median of several runs. Usage: StartupTimer <exe> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT rect{};
    if (owner == search->processId && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
        rect.right - rect.left > 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// One run: -1 when no window appeared within 20 s.
double TimeOneStart(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    Search search{process.dwProcessId, nullptr};
    double result = -1;
    for (int i = 0; i < 20000; ++i) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        // The window has painted once its thread waits for input with nothing left to paint.
        if (search.found && WaitForInputIdle(process.hProcess, 0) == 0 &&
            !GetUpdateRect(search.found, nullptr, FALSE)) {
            QueryPerformanceCounter(&end);
            result = Seconds(start, end);
            break;
        }
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: StartupTimer <exe> [runs]\n");
        return 2;
    }
    int runs = argc > 2 ? _wtoi(argv[2]) : 7;
    TimeOneStart(argv[1]);  // warms the file cache and Wine's own start-up
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double t = TimeOneStart(argv[1]);
        if (t < 0) {
            std::fprintf(stderr, "no window appeared\n");
            return 1;
        }
        times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2] * 1000.0);
    return 0;
}
