// One step of driving a running wizard from a script (the headless demo):
//   WizardStep click <id> | wait-visible <id> | wait-disabled <id> | wait-gone
// Widgets are found by control ID (1000 + their number in the widget list) in the main window.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t* const Caption = L"Nak\u0142adka dla programu \"Tesmaren\" Z27Z";

HWND MainWindow() {
    return FindWindowW(nullptr, Caption);
}

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

HWND Child(int id) {
    Search search{id, nullptr};
    if (HWND main = MainWindow())
        EnumChildWindows(main, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Condition>
bool WaitFor(Condition condition) {
    for (int i = 0; i < 400; ++i) {
        if (condition()) return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring command = argv[1];
    int id = argc > 2 ? _wtoi(argv[2]) : 0;
    bool ok = false;
    if (command == L"click") {
        HWND button = nullptr;
        ok = WaitFor([&] { return (button = Child(id)) && IsWindowEnabled(button); }) &&
             PostMessageW(button, BM_CLICK, 0, 0);
    } else if (command == L"wait-visible") {
        ok = WaitFor([&] {
            HWND w = Child(id);
            return w && IsWindowVisible(w);
        });
    } else if (command == L"wait-disabled") {
        ok = WaitFor([&] {
            HWND w = Child(id);
            return w && !IsWindowEnabled(w);
        });
    } else if (command == L"wait-gone") {
        ok = WaitFor([] { return MainWindow() == nullptr; });
    }
    if (!ok) std::fprintf(stderr, "WizardStep %ls %d: timed out\n", command.c_str(), id);
    return ok ? 0 : 1;
}
