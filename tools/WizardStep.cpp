// One step of driving a running wizard from a script (the headless demo):
//   WizardStep click <widget> | wait-visible <widget> | wait-disabled <widget> | wait-gone
// Widgets are named as in the layout table (BitBtn2, TabSheet1, ...).
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/win32/Text.h"
#include "tools/WidgetWindow.h"
#include "window/Layout.h"

namespace {

HWND MainWindow() {
    return FindWindowW(nullptr, Widen(LayoutOf(Widget::Form1).content).c_str());
}

HWND Child(Widget widget) {
    return WidgetWindow(MainWindow(), widget);
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
    std::string name = argc > 2 ? Narrow(argv[2]) : "";
    std::optional<Widget> widget = WidgetNamed(name);
    if (command != L"wait-gone" && !widget) {
        std::fprintf(stderr, "WizardStep: no widget named \"%s\"\n", name.c_str());
        return 2;
    }
    bool ok = false;
    if (command == L"click") {
        HWND button = nullptr;
        ok = WaitFor([&] { return (button = Child(*widget)) && IsWindowEnabled(button); }) &&
             PostMessageW(button, BM_CLICK, 0, 0);
    } else if (command == L"wait-visible") {
        ok = WaitFor([&] {
            HWND w = Child(*widget);
            return w && IsWindowVisible(w);
        });
    } else if (command == L"wait-disabled") {
        ok = WaitFor([&] {
            HWND w = Child(*widget);
            return w && !IsWindowEnabled(w);
        });
    } else if (command == L"wait-gone") {
        ok = WaitFor([] { return MainWindow() == nullptr; });
    }
    if (!ok) std::fprintf(stderr, "WizardStep %ls %s: timed out\n", command.c_str(), name.c_str());
    return ok ? 0 : 1;
}
