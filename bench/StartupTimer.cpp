// Times GUI programs from process creation to the first painted, visible top-level window, as
// the median of several runs each. The programs take turns, start by start, so that a machine
// that slows down or speeds up meanwhile does so for all of them alike.
// Usage: StartupTimer <runs> <exe>... (prints one median in ms per program, on one line)
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
    // The pointer where no program opens its window (the wizard centres itself, the baselines
    // open at the top left): under the pointer a window has hit tests and a cursor to set up,
    // which would be timed for one program and not for another.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
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
    if (argc < 3) {
        std::fprintf(stderr, "usage: StartupTimer <runs> <exe>...\n");
        return 2;
    }
    int runs = _wtoi(argv[1]);
    std::vector<std::vector<double>> times(argc - 2);
    for (int p = 2; p < argc; ++p) TimeOneStart(argv[p]);  // warms the file cache and Wine
    for (int i = 0; i < runs; ++i)
        for (int p = 2; p < argc; ++p) {
            double t = TimeOneStart(argv[p]);
            if (t < 0) {
                std::fprintf(stderr, "no window appeared\n");
                return 1;
            }
            times[p - 2].push_back(t);
        }
    for (std::vector<double>& program : times) {
        std::sort(program.begin(), program.end());
        std::printf("%.1f ", program[program.size() / 2] * 1000.0);
    }
    std::printf("\n");
    return 0;
}
