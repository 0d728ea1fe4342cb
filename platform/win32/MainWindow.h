#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/Surface.h"
#include "platform/win32/Layout.h"
#include "platform/win32/UniqueHandle.h"

class TForm1;

// The wizard's window on the real Windows API: every widget of the layout table is a child
// window whose control ID is WidgetControlId(widget), so test drivers can find it and read its
// text with WM_GETTEXT. Clicks go to TForm1 through Dispatch, which keeps every exception
// inside the window procedure.
class MainWindow : public Surface {
  public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the (still hidden) window with all its widgets, then runs form.FormCreate.
    void Create(TForm1& form);
    void Show(int showCommand);
    HWND Handle() const { return hwnd; }
    // Keyboard navigation for the message loop; true when the message has been handled.
    bool TranslateKeyboard(MSG& message);

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
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Messages that the main window and its container children answer alike.
    bool HandleChildNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void EraseContainer(HWND window, HDC dc);

    void RegisterClasses();
    void CreateWidget(const WidgetLayout& row);
    void Dispatch(void (TForm1::*handler)());
    void OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT ControlColour(HDC dc, HWND control);
    void DrawOwnerDrawn(const DRAWITEMSTRUCT& item);
    void DrawLabelText(HDC dc, Widget label, int offsetX, int offsetY);
    void PreparePicture(const WidgetLayout& row, int width, int height);
    void DrawPicture(HDC dc, Widget picture, const RECT& area);
    void FitLabelToText(Widget label);
    void KeepFocusUsable();

    HWND Window(Widget widget) const { return windows[static_cast<size_t>(widget)]; }
    int Scale(int value) const { return ::MulDiv(value, dpi, 96); }
    RECT ScaledRect(const RECT& rect) const;
    HFONT Font(FontId font) const;
    HBRUSH Brush(COLORREF colour);
    void ShowBox(const std::string& text, UINT icon);

    HINSTANCE instance;
    TForm1* form = nullptr;
    HWND hwnd = nullptr;
    HWND lastFocus = nullptr;
    int dpi = 96;
    std::array<HWND, WidgetCount> windows{};
    std::array<int, WidgetCount> tags{};
    std::array<UniqueGdiObject, FontCount> fonts;
    struct Picture {
        UniqueGdiObject colour;
        UniqueGdiObject mask;  // none when the whole picture is painted
    };
    std::array<Picture, WidgetCount> pictures;
    std::vector<std::pair<COLORREF, UniqueGdiObject>> brushes;
};

constexpr int WidgetControlId(Widget widget) {
    return 1000 + static_cast<int>(widget);
}
