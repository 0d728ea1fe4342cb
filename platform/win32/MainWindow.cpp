#include "platform/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "app/Unit1.h"
#include "platform/win32/Text.h"

namespace {

constexpr wchar_t MainClassName[] = L"TForm1";
constexpr wchar_t ContainerClassName[] = L"InstalatorPanel";
constexpr wchar_t ApplicationTitle[] = L"Instalator";

constexpr DWORD MainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD MainExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Labels keep their text as window text (so WM_GETTEXT reads it) but are drawn by us: the
// title needs its shadow behind a transparent label, which overlapping windows cannot give.
constexpr UINT LabelTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;

bool IsWidgetId(int id) {
    return id > WidgetControlId(Widget::Form1) && id < WidgetControlId(Widget::Form1) + WidgetCount;
}

Widget WidgetOfId(int id) {
    return static_cast<Widget>(id - 1000);
}

Widget WidgetOfWindow(HWND window) {
    int id = ::GetDlgCtrlID(window);
    return IsWidgetId(id) ? WidgetOfId(id) : Widget::Form1;
}

bool IsContainer(WidgetKind kind) {
    return kind == WidgetKind::Panel || kind == WidgetKind::PageControl || kind == WidgetKind::Page;
}

std::wstring WindowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

struct SelectObjectScope {
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc(dc), previous(::SelectObject(dc, object)) {}
    ~SelectObjectScope() { ::SelectObject(dc, previous); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    HDC dc;
    HGDIOBJ previous;
};

// GetDC's counterpart needs the window as well as the DC, so it does not fit UniqueHandle.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window(window), dc(::GetDC(window)) {}
    ~WindowDc() {
        if (dc) ::ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc; }

  private:
    HWND window;
    HDC dc;
};

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance(instance) {
    WindowDc screen(nullptr);
    if (screen.get()) dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    if (dpi <= 0) dpi = 96;
    for (int i = 0; i < FontCount; ++i) {
        const FontStyle& font = FontOf(static_cast<FontId>(i));
        fonts[static_cast<size_t>(i)].reset(
            ::CreateFontW(Scale(font.height), 0, 0, 0, font.weight, font.italic, font.underline,
                          FALSE, font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face));
    }
}

MainWindow::~MainWindow() {
    if (hwnd) ::DestroyWindow(hwnd);
}

void MainWindow::RegisterClasses() {
    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = &MainWindow::WindowProc;
    main.hInstance = instance;
    main.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    main.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    main.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    main.lpszClassName = MainClassName;
    ::RegisterClassExW(&main);

    WNDCLASSEXW container{};
    container.cbSize = sizeof container;
    container.lpfnWndProc = &MainWindow::ContainerProc;
    container.hInstance = instance;
    container.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    container.lpszClassName = ContainerClassName;
    ::RegisterClassExW(&container);
}

void MainWindow::Create(TForm1& form) {
    this->form = &form;
    RegisterClasses();

    const WidgetLayout& main = LayoutOf(Widget::Form1);
    RECT frame = ScaledRect(main.rect);
    ::AdjustWindowRectEx(&frame, MainStyle, FALSE, MainExStyle);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::CreateWindowExW(MainExStyle, MainClassName, Widen(main.text).c_str(), MainStyle, left, top,
                      width, height, nullptr, nullptr, instance, this);
    if (!hwnd) throw std::runtime_error(SystemErrorText(::GetLastError()));
    windows[static_cast<size_t>(Widget::Form1)] = hwnd;
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(FontId::Default)), FALSE);

    for (const WidgetLayout& row : MainWindowLayout())
        if (row.widget != Widget::Form1) CreateWidget(row);

    // Z order is also the Tab order: place the listed widgets, frontmost first, before the rest.
    const auto& order = FrontToBack();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        ::SetWindowPos(Window(*it), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    lastFocus = Window(Widget::BitBtn2);
    Dispatch(&TForm1::FormCreate);
}

void MainWindow::CreateWidget(const WidgetLayout& row) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* className = ContainerClassName;
    std::wstring text = Widen(row.text);
    switch (row.kind) {
        case WidgetKind::MainWindow:
            return;
        case WidgetKind::Panel:
        case WidgetKind::PageControl:
        case WidgetKind::Page:
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case WidgetKind::Picture:
            className = WC_STATICW;
            style |= SS_OWNERDRAW;
            text.clear();  // the row's text names the bitmap resource
            break;
        case WidgetKind::Label:
            className = WC_STATICW;
            style |= SS_OWNERDRAW;
            break;
        case WidgetKind::StaticText:
            className = WC_STATICW;
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case WidgetKind::Edit:
            className = WC_EDITW;
            style |= ES_LEFT | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case WidgetKind::Button:
            className = WC_BUTTONW;
            style |= row.flags & DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
    }
    if (row.flags & Visible) style |= WS_VISIBLE;
    if (!(row.flags & Enabled)) style |= WS_DISABLED;
    if (row.flags & TabStop) style |= WS_TABSTOP;

    RECT rect = ScaledRect(row.rect);
    HWND window = ::CreateWindowExW(
        exStyle, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, Window(row.parent),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(WidgetControlId(row.widget))), instance,
        IsContainer(row.kind) ? this : nullptr);
    if (!window) throw std::runtime_error(SystemErrorText(::GetLastError()));
    windows[static_cast<size_t>(row.widget)] = window;
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.font)), FALSE);
    if (row.flags & AutoSize) FitLabelToText(row.widget);
    if (row.kind == WidgetKind::Picture)
        PreparePicture(row, rect.right - rect.left, rect.bottom - rect.top);
}

// The picture is scaled once, to the size it is drawn at, with a mask of its background colour
// when that is to be left unpainted; painting is then a plain copy through the mask.
void MainWindow::PreparePicture(const WidgetLayout& row, int width, int height) {
    UniqueGdiObject loaded(
        ::LoadImageW(instance, Widen(row.text).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded) return;
    BITMAP info{};
    ::GetObjectW(loaded.get(), sizeof info, &info);
    WindowDc screen(nullptr);
    UniqueMemoryDc source(::CreateCompatibleDC(screen.get()));
    UniqueMemoryDc target(::CreateCompatibleDC(screen.get()));
    SelectObjectScope sourceBitmap(source.get(), loaded.get());
    Picture& picture = pictures[static_cast<size_t>(row.widget)];
    picture.colour.reset(::CreateCompatibleBitmap(screen.get(), width, height));
    SelectObjectScope targetBitmap(target.get(), picture.colour.get());
    ::SetStretchBltMode(target.get(), COLORONCOLOR);
    ::StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    if (!(row.flags & Transparent)) return;

    // The bottom-left pixel is the background colour: a colour-to-mono copy turns that colour
    // into 1 and every other into 0.
    picture.mask.reset(::CreateBitmap(width, height, 1, 1, nullptr));
    SelectObjectScope maskBitmap(source.get(), picture.mask.get());
    ::SetBkColor(target.get(), ::GetPixel(target.get(), 0, height - 1));
    ::BitBlt(source.get(), 0, 0, width, height, target.get(), 0, 0, SRCCOPY);
}

void MainWindow::Show(int showCommand) {
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
}

bool MainWindow::TranslateKeyboard(MSG& message) {
    if (!hwnd) return false;
    // Enter presses whichever button has the focus, as Space does; the dialog manager alone
    // would press only the one that happens to carry the default style.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        HWND focus = ::GetFocus();
        wchar_t className[16] = {};
        if (focus && ::IsChild(hwnd, focus) && ::IsWindowEnabled(focus) &&
            ::GetClassNameW(focus, className, 16) && ::lstrcmpiW(className, WC_BUTTONW) == 0) {
            ::SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
    }
    return ::IsDialogMessageW(hwnd, &message) != FALSE;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
        self->lastFocus = nullptr;
        self->windows.fill(nullptr);
    }
    return result;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleChildNotification(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_ACTIVATE:
            // Keep the focused control across message boxes and switching applications.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(hwnd, focus)) lastFocus = focus;
            }
            return 0;
        case WM_SETFOCUS:
            if (lastFocus && ::IsWindow(lastFocus) && ::IsWindowVisible(lastFocus) &&
                ::IsWindowEnabled(lastFocus))
                ::SetFocus(lastFocus);
            else
                KeepFocusUsable();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::ContainerProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        LRESULT result = 0;
        if (self->HandleChildNotification(message, wParam, lParam, result)) return result;
        if (message == WM_ERASEBKGND) {
            self->EraseContainer(window, reinterpret_cast<HDC>(wParam));
            return 1;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool MainWindow::HandleChildNotification(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            result = 0;
            return true;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            result = ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            return result != 0;
        case WM_DRAWITEM:
            DrawOwnerDrawn(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
    }
    return false;
}

void MainWindow::EraseContainer(HWND window, HDC dc) {
    Widget widget = WidgetOfWindow(window);
    const WidgetLayout& row = LayoutOf(widget);
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, Brush(row.background));
    if (row.kind == WidgetKind::PageControl) ::DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || !lParam) return;
    int id = LOWORD(wParam);
    if (!IsWidgetId(id)) return;
    switch (WidgetOfId(id)) {
        case Widget::BitBtn1:
            Dispatch(&TForm1::BitBtn1Click);
            break;
        case Widget::BitBtn2:
            Dispatch(&TForm1::BitBtn2Click);
            break;
        case Widget::BitBtn3:
            Dispatch(&TForm1::BitBtn3Click);
            break;
        case Widget::BitBtn4:
            Dispatch(&TForm1::BitBtn4Click);
            break;
        case Widget::BitBtn5:
            Dispatch(&TForm1::BitBtn5Click);
            break;
        default:
            break;
    }
}

void MainWindow::Dispatch(void (TForm1::*handler)()) {
    if (!form) return;
    try {
        (form->*handler)();
    } catch (const std::exception& error) {
        try {
            form->ShowException(error);
        } catch (...) {
            // The error box itself failed; there is nothing left to report it with.
        }
    } catch (...) {
        try {
            form->ShowUnknownException();
        } catch (...) {
        }
    }
    KeepFocusUsable();
}

void MainWindow::KeepFocusUsable() {
    // A handler may have disabled or hidden the focused button; move on as Tab would, so the
    // keyboard keeps working.
    if (!hwnd || ::GetActiveWindow() != hwnd) return;
    HWND focus = ::GetFocus();
    if (focus && focus != hwnd && ::IsChild(hwnd, focus) && ::IsWindowVisible(focus) &&
        ::IsWindowEnabled(focus))
        return;
    HWND next = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (next) ::SetFocus(next);
}

LRESULT MainWindow::ControlColour(HDC dc, HWND control) {
    Widget widget = WidgetOfWindow(control);
    const WidgetLayout& row = LayoutOf(widget);
    if (widget == Widget::Form1 || row.kind == WidgetKind::Edit) return 0;
    ::SetTextColor(dc, ResolveColour(row.textColour));
    ::SetBkColor(dc, ResolveColour(row.background));
    return reinterpret_cast<LRESULT>(Brush(row.background));
}

void MainWindow::DrawOwnerDrawn(const DRAWITEMSTRUCT& item) {
    if (!IsWidgetId(static_cast<int>(item.CtlID))) return;
    Widget widget = WidgetOfId(static_cast<int>(item.CtlID));
    const WidgetLayout& row = LayoutOf(widget);
    ::FillRect(item.hDC, &item.rcItem, Brush(LayoutOf(row.parent).background));

    if (row.kind == WidgetKind::Picture) {
        DrawPicture(item.hDC, widget, item.rcItem);
        return;
    }
    if (row.flags & Transparent) {
        // Labels behind this one show through where they overlap it.
        RECT mine;
        ::GetWindowRect(item.hwndItem, &mine);
        for (const WidgetLayout& other : MainWindowLayout()) {
            HWND otherWindow = Window(other.widget);
            if (other.widget == widget || other.kind != WidgetKind::Label ||
                other.parent != row.parent || (other.flags & Transparent) || !otherWindow ||
                !::IsWindowVisible(otherWindow))
                continue;
            RECT theirs, overlap;
            ::GetWindowRect(otherWindow, &theirs);
            if (::IntersectRect(&overlap, &mine, &theirs))
                DrawLabelText(item.hDC, other.widget, theirs.left - mine.left,
                              theirs.top - mine.top);
        }
    }
    DrawLabelText(item.hDC, widget, 0, 0);
}

void MainWindow::DrawLabelText(HDC dc, Widget label, int offsetX, int offsetY) {
    HWND window = Window(label);
    const WidgetLayout& row = LayoutOf(label);
    RECT area;
    ::GetClientRect(window, &area);
    ::OffsetRect(&area, offsetX, offsetY);
    std::wstring text = WindowText(window);
    SelectObjectScope font(dc, Font(row.font));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ResolveColour(row.textColour));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, LabelTextFormat);
}

void MainWindow::DrawPicture(HDC dc, Widget widget, const RECT& area) {
    const Picture& picture = pictures[static_cast<size_t>(widget)];
    if (!picture.colour) return;
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    SelectObjectScope selected(source.get(), picture.colour.get());
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    // Where the mask is 1 (the background colour) the destination stays, elsewhere the picture
    // is copied.
    constexpr DWORD KeepDestination = 0x00AA0029;
    if (picture.mask)
        ::MaskBlt(dc, area.left, area.top, width, height, source.get(), 0, 0,
                  static_cast<HBITMAP>(picture.mask.get()), 0, 0,
                  MAKEROP4(KeepDestination, SRCCOPY));
    else
        ::BitBlt(dc, area.left, area.top, width, height, source.get(), 0, 0, SRCCOPY);
}

void MainWindow::FitLabelToText(Widget label) {
    HWND window = Window(label);
    if (!window) return;
    std::wstring text = WindowText(window);
    WindowDc dc(window);
    SelectObjectScope font(dc.get(), Font(LayoutOf(label).font));
    RECT needed{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(),
                text.empty() ? 1 : static_cast<int>(text.size()), &needed,
                LabelTextFormat | DT_CALCRECT);
    ::SetWindowPos(window, nullptr, 0, 0, needed.right, needed.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT MainWindow::ScaledRect(const RECT& rect) const {
    return RECT{Scale(rect.left), Scale(rect.top), Scale(rect.right), Scale(rect.bottom)};
}

HFONT MainWindow::Font(FontId font) const {
    return static_cast<HFONT>(fonts[static_cast<size_t>(font)].get());
}

HBRUSH MainWindow::Brush(COLORREF colour) {
    if (colour & SystemColourFlag) return ::GetSysColorBrush(static_cast<int>(colour & 0xFF));
    for (const auto& [known, brush] : brushes)
        if (known == colour) return static_cast<HBRUSH>(brush.get());
    brushes.emplace_back(colour, UniqueGdiObject(::CreateSolidBrush(colour)));
    return static_cast<HBRUSH>(brushes.back().second.get());
}

void MainWindow::SetText(Widget widget, const std::string& text) {
    HWND window = Window(widget);
    if (!window) return;
    ::SetWindowTextW(window, Widen(text).c_str());
    const WidgetLayout& row = LayoutOf(widget);
    if (row.kind != WidgetKind::Label) return;
    if (row.flags & AutoSize) FitLabelToText(widget);
    // Redraw the neighbourhood too: a transparent label in front may show this one's text.
    RECT area;
    ::GetWindowRect(window, &area);
    HWND parent = ::GetParent(window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

std::string MainWindow::Text(Widget widget) const {
    HWND window = Window(widget);
    return window ? Narrow(WindowText(window)) : std::string();
}

void MainWindow::SetEnabled(Widget widget, bool enabled) {
    if (HWND window = Window(widget)) ::EnableWindow(window, enabled);
}

void MainWindow::SetVisible(Widget widget, bool visible) {
    HWND window = Window(widget);
    if (!window) return;
    if (!visible)
        ::ShowWindow(window, SW_HIDE);
    else if (LayoutOf(widget).kind == WidgetKind::Page)
        // A page that is shown comes to the front of its siblings; other widgets keep their
        // place, which is also their Tab order.
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        ::ShowWindow(window, SW_SHOWNA);
}

int MainWindow::Tag(Widget widget) const {
    return tags[static_cast<size_t>(widget)];
}

void MainWindow::SetTag(Widget widget, int tag) {
    tags[static_cast<size_t>(widget)] = tag;
}

void MainWindow::ShowBox(const std::string& text, UINT icon) {
    ::MessageBoxW(hwnd, Widen(text).c_str(), ApplicationTitle, MB_OK | icon);
}

void MainWindow::ShowMessage(const std::string& text) {
    ShowBox(text, 0);
}

void MainWindow::ShowErrorBox(const std::string& text) {
    ShowBox(text, MB_ICONERROR);
}

void MainWindow::Close() {
    if (hwnd) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

std::string MainWindow::OwnPath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw std::runtime_error(SystemErrorText(::GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}
