#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "window/Layout.h"
#include "window/Surface.h"
#include "window/WindowEvents.h"
#include "window/win32/Accessibility.h"
#include "window/win32/Appearance.h"
#include "window/win32/Fonts.h"
#include "window/win32/Pictures.h"
#include "window/win32/WindowProcedure.h"

// What the window keeps while the wizard waits (MainWindow::BeginWait).
struct WindowWaitState {
    static constexpr int ButtonCount = 5;
    bool leaveAtOnce = false;
    bool leaveAsked = false;
    HWND focus = nullptr;
    std::array<bool, ButtonCount> wasEnabled{};  // the greyed buttons' own states
};

// The wizard's window on the real Windows API, a humble view: every widget of the layout table is
// a child window whose control ID is WidgetControlId(widget), so test drivers can find it and
// read its text with WM_GETTEXT (those on the pages that start hidden once they are made); it
// reports clicks and the close request to its events and shows what it is told to. Its members live
// in one file per concern: the messages (MainWindow.cpp), creation from the table
// (WindowCreation.cpp), keyboard and focus (KeyboardFocus.cpp), painting and colours
// (Painting.cpp), the Surface methods (MainWindowSurface.cpp) and the move to another DPI
// (DpiChange.cpp).
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

    // While the wizard waits for work off its thread (ModalWait): the buttons are greyed and no
    // click or key reaches the events. A request to leave ends the wizard at once when
    // `leaveAtOnce`; otherwise it is kept and made again when the wait ends.
    void BeginWait(bool leaveAtOnce);
    void EndWait();
    // For the wait's message loop: true when the message is input to hold off (dropped).
    bool HoldsOff(const MSG& message);

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
    void OnCommand(WPARAM wParam, LPARAM lParam);
    // Hands an event to the events, then keeps the keyboard usable.
    template <typename Report>
    void Forward(Report report);

    void RegisterClasses();
    void CreateWidgets(bool onHiddenPages);
    void CreateWidget(const WidgetRow& row);
    // The widget's window, making the hidden pages first if it is on one.
    HWND Made(Widget widget);
    void Dress(const WidgetRow& row, const RECT& rect);
    SIZE FrameSize(int atDpi) const;
    RECT CentredFrame(HMONITOR monitor) const;
    // The move to a monitor of another DPI (DpiChange.cpp).
    bool HandleDpiChange(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnDpiChanged(int newDpi, const RECT& suggested);
    void FitLabelToText(Widget label);
    RECT PlacedRect(const WidgetRow& row);
    RECT ScaledRect(const WidgetRow& row) const;

    void OnActivate(WPARAM wParam);
    void OnSetFocus();
    void KeepFocusUsable();

    void EraseContainer(HWND window, HDC dc);
    LRESULT ControlColour(HDC dc, HWND control);
    void DrawOwnerDrawn(const DRAWITEMSTRUCT& item);
    void DrawLabelText(HDC dc, Widget label, int offsetX, int offsetY);
    void RedrawAround(HWND window);
    HBRUSH Brush(COLORREF colour);
    void FollowSystemColours();

    // The buttons that act on the wizard, greyed while it waits.
    static constexpr int WaitButtonCount = WindowWaitState::ButtonCount;
    static constexpr Widget WaitButtons[WaitButtonCount] = {
        Widget::BitBtn1, Widget::BitBtn2, Widget::BitBtn3, Widget::BitBtn4, Widget::BitBtn5};
    // The user asked to leave while the wizard waits.
    void LeaveDuringWait();
    // Ends the wizard now: its windows go, and the process ends without waiting for the work or
    // running any library's unload code (a call into the library may still be in flight).
    [[noreturn]] void LeaveNow();

    void ShowBox(const std::string& text, UINT icon);
    HWND Window(Widget widget) const { return windows[static_cast<std::size_t>(widget)]; }

    HINSTANCE instance;
    std::string title;
    WindowEvents* events = nullptr;
    HWND hwnd = nullptr;
    HWND lastFocus = nullptr;
    int fixedDpi;  // 0: the monitor's
    int dpi = 96;
    std::array<HWND, WidgetCount> windows{};  // null on a hidden page not made yet
    bool hiddenPagesMade = false;
    std::array<int, WidgetCount> tags{};
    FontSet fonts;
    std::array<Picture, WidgetCount> pictures;
    UniqueMemoryDc measuring;  // the labels' text, on the screen's metrics
    std::vector<std::pair<COLORREF, UniqueGdiObject>> brushes;
    bool highContrast = HighContrast();
    OutcomeAnnouncer outcomes;
    std::optional<WindowWaitState> wait;
};
