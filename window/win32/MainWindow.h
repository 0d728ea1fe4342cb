#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "window/Surface.h"
#include "window/WindowEvents.h"
#include "window/win32/Accessibility.h"
#include "window/win32/WindowAppearance.h"
#include "window/win32/WindowLayout.h"
#include "window/win32/WindowProcedure.h"
#include "window/win32/WindowWait.h"

// The wizard's window on the real Windows API, a humble view: it reports clicks and the close
// request to its events and shows what it is told to. Test drivers find each widget by its
// control ID and read its text with WM_GETTEXT (those on the pages that start hidden once they
// are made). It ties four parts, each with its own state: the widgets' windows made and laid out
// from the table (WindowLayout), how they look (WindowAppearance), what screen readers hear
// (WindowAccessibility) and what the window does while the wizard waits (WindowWait). Itself it
// answers the messages (MainWindow.cpp), keyboard and focus (KeyboardFocus.cpp) and the Surface
// (MainWindowSurface.cpp).
class MainWindow : public Surface {
  public:
    // At the DPI of the monitor it opens on unless one is given (tests lay the window out at
    // others); it follows the DPI of the monitor it is moved to. `title` is the caption of its
    // message boxes (Windows-1250).
    MainWindow(HINSTANCE instance, std::string title, int dpi = 0);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the (still hidden) window with the widgets of the first page and around the pages,
    // owned by `owner` (the application window), then reports Created.
    void Create(WindowEvents& events, HWND owner = nullptr);
    // Creates the widgets of the pages that start hidden: the message loop asks for them once the
    // first page is painted and the wizard has waited for input, and using one of them before
    // that makes them at once.
    void CreateHiddenPages();
    void Show(int showCommand);
    HWND Handle() const { return hwnd; }
    // Keyboard navigation for the message loop; true when the message has been handled.
    bool TranslateKeyboard(MSG& message);
    // Wine always says no high contrast; tests answer instead (null: Windows answers again).
    void AnswerHighContrastWith(bool (*answer)()) { appearance.AnswerHighContrastWith(answer, hwnd); }

    // While the wizard waits for work off its thread (ModalWait); see WindowWait.
    void BeginWait(bool leaveAtOnce);
    void EndWait();
    // For the wait's message loop: true when the message is input to hold off (dropped).
    bool HoldsOff(const MSG& message) { return wait.HoldsOff(message, layout.Windows()); }

    void SetText(Widget widget, const std::string& text) override;
    std::string Text(Widget widget) const override;
    void SetEnabled(Widget widget, bool enabled) override;
    void SetVisible(Widget widget, bool visible) override;
    int Tag(Widget widget) const override;
    void SetTag(Widget widget, int tag) override;
    void ShowMessage(const std::string& text) override;
    void ShowErrorBox(const std::string& text) override;
    void Close() override;
    std::string OwnPath() const override;

  private:
    // Close() queues this rather than WM_CLOSE, which is the user's request and goes to the events.
    static constexpr UINT CloseNow = WM_APP + 1;

    template <typename Window>
    friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    // The main window's messages and its containers'.
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Destroyed();
    // Messages that the main window and its container children answer alike.
    bool HandleChildNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleDpiChange(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    // Hands an event to the events, then keeps the keyboard usable.
    template <typename Report>
    void Forward(Report report);
    // The widget's window, making the hidden pages first if it is on one.
    HWND Made(Widget widget);

    void OnActivate(WPARAM wParam);
    void OnSetFocus();
    void KeepFocusUsable();
    void ShowBox(const std::string& text, UINT icon);

    std::string title;
    WindowEvents* events = nullptr;
    HWND hwnd = nullptr;
    HWND lastFocus = nullptr;
    std::array<int, WidgetCount> tags{};
    WindowAppearance appearance;
    WindowLayout layout;
    WindowAccessibility accessibility;
    WindowWait wait;
};
