#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "window/Layout.h"

// Drives the real wizard from outside its process, the way a user or a screen reader sees it:
// windows found by class, caption and control ID, texts read with WM_GETTEXT, clicks posted so
// that a handler opening a modal box never blocks the driver.
namespace e2e {

using namespace std::chrono_literals;
inline constexpr std::chrono::milliseconds DefaultTimeout = 10s;

// Polls the condition every 50 ms until it holds or the timeout passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = DefaultTimeout);

// One launched program. Whatever a test does, the process does not outlive this object.
class Process {
  public:
    Process() = default;
    Process(const std::wstring& exe, const std::wstring& workingDirectory);
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;
    ~Process() { Kill(); }

    DWORD Id() const { return id; }
    bool Running() const;
    // Waits for the process to end by itself; the exit code when it did.
    bool WaitForExit(DWORD& exitCode, std::chrono::milliseconds timeout = DefaultTimeout);
    void Kill();

  private:
    UniqueKernelHandle handle;
    DWORD id = 0;
};

// Text of any window, Windows-1250 (the wizard's own code page), read with WM_GETTEXT.
std::string Text(HWND window);
std::string ClassName(HWND window);
// The window's own WS_VISIBLE flag, whatever its parents' state.
bool IsShown(HWND window);
// Visible on screen: itself and all its parents shown.
bool IsVisibleOnScreen(HWND window);
bool IsEnabled(HWND window);
// The window's rectangle in its parent's client area (or on the screen for a top-level one).
RECT RectInParent(HWND window);
// The window that has the keyboard focus in the thread that owns the given window.
HWND FocusOf(HWND window);

// Presses a button without waiting for what its handler does.
void Click(HWND button);
void PostClose(HWND window);        // WM_CLOSE
void PostSystemClose(HWND window);  // WM_SYSCOMMAND SC_CLOSE, as the close box sends it

// Every top-level window of a process, shown or not.
std::vector<HWND> TopLevelWindows(DWORD processId);
// The windows of a process that the taskbar and Alt+Tab list: visible top-level windows that
// are not tool windows and are either unowned or marked as application windows.
std::vector<HWND> TaskbarWindows(DWORD processId);

// Top-level windows of a process, matched by class and caption (nullptr = any).
HWND FindTopLevel(DWORD processId, const wchar_t* className, const std::string* caption);

// The wizard's main window and its widgets.
class Wizard {
  public:
    static constexpr const char* Title = LayoutOf(Widget::Form1).content;

    // Waits for the main window of the process to be shown.
    static Wizard Attach(const Process& process,
                         std::chrono::milliseconds timeout = DefaultTimeout);

    HWND Handle() const { return main; }
    // The widget's child window (found by its control ID anywhere below the main window).
    HWND Window(Widget widget) const;
    std::string Text(Widget widget) const { return e2e::Text(Window(widget)); }
    bool Enabled(Widget widget) const { return IsEnabled(Window(widget)); }
    bool Shown(Widget widget) const { return IsShown(Window(widget)); }
    void Click(Widget widget) const { e2e::Click(Window(widget)); }
    // The index of the one page (0 to 2) currently visible, or -1 if none or several are.
    int VisiblePage() const;
    bool WaitForPage(int index, std::chrono::milliseconds timeout = DefaultTimeout) const;

  private:
    explicit Wizard(HWND main) : main(main) {}
    HWND main = nullptr;
};

// A message box of the process: a dialog captioned "Instalator".
struct MessageBoxView {
    HWND window = nullptr;
    std::string text;  // of the static with ID 0xFFFF
    bool hasIcon = false;
};
// Found when one appears within the timeout; window stays nullptr otherwise.
MessageBoxView WaitForMessageBox(const Process& process,
                                 std::chrono::milliseconds timeout = DefaultTimeout);
// Presses the box's OK and waits for the box to go away; false if it stays.
bool PressOk(HWND dialog);
// True while no message box of the process is open (waits briefly for one to appear).
bool NoMessageBoxAppears(const Process& process, std::chrono::milliseconds wait = 500ms);

// The folder chooser: the process's dialog with a folder tree.
HWND WaitForFolderChooser(const Process& process,
                          std::chrono::milliseconds timeout = DefaultTimeout);
// The name shown for the selected folder (its last path component), empty when none.
std::string FolderChooserSelection(HWND chooser);

}  // namespace e2e
