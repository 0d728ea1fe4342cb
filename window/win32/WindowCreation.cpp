#include <algorithm>

#include "platform/Failure.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Text.h"
#include "window/win32/ApplicationWindow.h"
#include "window/win32/Dpi.h"
#include "window/win32/MainWindow.h"

namespace {

constexpr wchar_t MainClassName[] = L"TForm1";
constexpr wchar_t ContainerClassName[] = L"WizardPanel";

constexpr DWORD MainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD MainExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

bool IsContainer(WidgetKind kind) {
    return kind == WidgetKind::Panel || kind == WidgetKind::PageControl || kind == WidgetKind::Page;
}

// A page that starts hidden, or a widget on one: not needed for the first page.
bool OnHiddenPage(const WidgetRow& row) {
    for (const WidgetRow* at = &row; at->name != Widget::Form1; at = &LayoutOf(at->parent))
        if (at->kind == WidgetKind::Page && (at->state & Hidden)) return true;
    return false;
}

// Each new child goes behind its siblings, and the Z order is also the Tab order: the widgets
// that lie in front, frontmost first, are made before the first of their siblings, and the rest in
// the table's order (parents still come first), so no window is moved afterwards.
std::array<Widget, WidgetCount> CreationOrder() {
    std::array<Widget, WidgetCount> order{};
    std::size_t made = 0;
    auto inFront = [](Widget widget) {
        const auto& front = FrontToBack();
        return std::find(front.begin(), front.end(), widget) != front.end();
    };
    std::array<bool, WidgetCount> frontMade{};  // by parent
    for (const WidgetRow& row : MainWindowLayout) {
        auto parent = static_cast<std::size_t>(row.parent);
        if (row.name != Widget::Form1 && !frontMade[parent]) {
            frontMade[parent] = true;
            for (Widget front : FrontToBack())
                if (LayoutOf(front).parent == row.parent) order[made++] = front;
        }
        if (!inFront(row.name)) order[made++] = row.name;
    }
    return order;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, std::string title, int dpi)
    : instance(instance), title(std::move(title)), fixedDpi(dpi) {}

MainWindow::~MainWindow() {
    if (hwnd) ::DestroyWindow(hwnd);
}

void MainWindow::RegisterClasses() {
    RegisterWindowClass(instance, MainClassName, &WindowProcedure<MainWindow>, true,
                        ::GetSysColorBrush(COLOR_BTNFACE));
    RegisterWindowClass(instance, ContainerClassName, &WindowProcedure<MainWindow>, false);
}

void MainWindow::Create(WindowEvents& windowEvents, HWND owner) {
    RegisterClasses();

    HMONITOR monitor = MonitorOfPointer();
    dpi = fixedDpi > 0 ? fixedDpi : MonitorDpi(monitor);
    fonts = FontSet(dpi);
    RECT frame = CentredFrame(monitor);
    ::CreateWindowExW(MainExStyle, MainClassName, Widen(LayoutOf(Widget::Form1).content).c_str(),
                      MainStyle, frame.left, frame.top, frame.right - frame.left,
                      frame.bottom - frame.top, owner, nullptr, instance, this);
    if (!hwnd) throw Failure(SystemErrorText(::GetLastError()));
    // Without the monitor's DPI (shcore not loaded) Windows still tells the window's own.
    if (int actual = fixedDpi > 0 ? dpi : WindowDpi(hwnd, dpi); actual != dpi) {
        dpi = actual;
        fonts = FontSet(dpi);
        frame = CentredFrame(monitor);
        ::SetWindowPos(hwnd, nullptr, frame.left, frame.top, frame.right - frame.left,
                       frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    windows[static_cast<std::size_t>(Widget::Form1)] = hwnd;
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(FontId::Default)), FALSE);

    CreateWidgets(false);
    lastFocus = Window(Widget::BitBtn2);
    events = &windowEvents;
    events->Created();
}

void MainWindow::CreateHiddenPages() {
    if (hiddenPagesMade || !hwnd) return;
    hiddenPagesMade = true;
    CreateWidgets(true);
}

// The first page and what surrounds the pages, or the pages that start hidden.
void MainWindow::CreateWidgets(bool onHiddenPages) {
    for (Widget widget : CreationOrder()) {
        const WidgetRow& row = LayoutOf(widget);
        if (row.name != Widget::Form1 && OnHiddenPage(row) == onHiddenPages) CreateWidget(row);
    }
    DescribeToScreenReaders(windows);
}

HWND MainWindow::Made(Widget widget) {
    if (!Window(widget)) CreateHiddenPages();
    return Window(widget);
}

void MainWindow::CreateWidget(const WidgetRow& row) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* className = ContainerClassName;
    const WidgetLook& look = LookOf(row.name);
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
        case WidgetKind::Label:
            // Drawn by us: the title needs its shadow behind a transparent label, which
            // overlapping windows cannot give. Labels keep their text for WM_GETTEXT.
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
            style |= WS_TABSTOP | (look.flags & DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
    }
    if (!(row.state & Hidden)) style |= WS_VISIBLE;
    if (row.state & Disabled) style |= WS_DISABLED;

    RECT rect = PlacedRect(row);
    HWND window = ::CreateWindowExW(
        exStyle, className, Widen(row.content).c_str(), style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, Window(row.parent),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(WidgetControlId(row.name))), instance,
        IsContainer(row.kind) ? this : nullptr);
    if (!window) throw Failure(SystemErrorText(::GetLastError()));
    windows[static_cast<std::size_t>(row.name)] = window;
    Dress(row, rect);
}

// What a widget takes from the DPI besides its rectangle: its font, a picture.
void MainWindow::Dress(const WidgetRow& row, const RECT& rect) {
    const WidgetLook& look = LookOf(row.name);
    ::SendMessageW(Window(row.name), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(look.font)),
                   FALSE);
    if (row.kind == WidgetKind::Picture)
        pictures[static_cast<std::size_t>(row.name)].Prepare(
            instance, Widen(WidgetName(row.name)), row.width, rect.right - rect.left,
            rect.bottom - rect.top, look.flags & Transparent);
}

SIZE MainWindow::FrameSize(int atDpi) const {
    const WidgetRow& main = LayoutOf(Widget::Form1);
    RECT client{0, 0, ::MulDiv(main.width, atDpi, 96), ::MulDiv(main.height, atDpi, 96)};
    RECT frame = FrameAround(client, MainStyle, MainExStyle, atDpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// The whole window at the current DPI, centred on the monitor.
RECT MainWindow::CentredFrame(HMONITOR monitor) const {
    SIZE size = FrameSize(dpi);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info))
        info.rcMonitor =
            RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const RECT& area = info.rcMonitor;
    int left = area.left + (area.right - area.left - size.cx) / 2;
    int top = area.top + (area.bottom - area.top - size.cy) / 2;
    return RECT{left, top, left + size.cx, top + size.cy};
}

// Edges are scaled where they lie in the window and then taken relative to the parent's scaled
// edges, so that rounding never makes a child stick out of its parent or leaves a gap between
// widgets that touch.
RECT MainWindow::ScaledRect(const WidgetRow& row) const {
    int parentLeft = 0, parentTop = 0;
    for (Widget parent = row.parent; parent != Widget::Form1; parent = LayoutOf(parent).parent) {
        parentLeft += LayoutOf(parent).left;
        parentTop += LayoutOf(parent).top;
    }
    auto scale = [this](int value) { return ::MulDiv(value, dpi, 96); };
    int left = parentLeft + row.left, top = parentTop + row.top;
    return RECT{scale(left) - scale(parentLeft), scale(top) - scale(parentTop),
                scale(left + row.width) - scale(parentLeft),
                scale(top + row.height) - scale(parentTop)};
}

void MainWindow::Show(int showCommand) {
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
}
