#include "platform/Failure.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Text.h"
#include "window/win32/Dpi.h"
#include "window/win32/WindowLayout.h"
#include "window/win32/WindowProcedure.h"

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
    std::array<bool, WidgetCount> frontMade{};  // by parent
    for (const WidgetRow& row : MainWindowLayout) {
        auto parent = static_cast<std::size_t>(row.parent);
        if (row.name != Widget::Form1 && !frontMade[parent]) {
            frontMade[parent] = true;
            for (int rank = 1; rank < WidgetCount; ++rank)
                for (const WidgetRow& front : MainWindowLayout)
                    if (front.front == rank && front.parent == row.parent)
                        order[made++] = front.name;
        }
        if (row.front == 0) order[made++] = row.name;
    }
    return order;
}

void RegisterClasses(HINSTANCE instance, WNDPROC procedure) {
    RegisterWindowClass(instance, MainClassName, procedure, true,
                        ::GetSysColorBrush(COLOR_BTNFACE));
    RegisterWindowClass(instance, ContainerClassName, procedure, false);
}

// Edges are scaled where they lie in the window and then taken relative to the parent's scaled
// edges, so that rounding never makes a child stick out of its parent or leaves a gap between
// widgets that touch.
RECT ScaledRect(const WidgetRow& row, int dpi) {
    int parentLeft = 0, parentTop = 0;
    for (Widget parent = row.parent; parent != Widget::Form1; parent = LayoutOf(parent).parent) {
        parentLeft += LayoutOf(parent).left;
        parentTop += LayoutOf(parent).top;
    }
    auto scale = [dpi](int value) { return ::MulDiv(value, dpi, 96); };
    int left = parentLeft + row.left, top = parentTop + row.top;
    return RECT{scale(left) - scale(parentLeft), scale(top) - scale(parentTop),
                scale(left + row.width) - scale(parentLeft),
                scale(top + row.height) - scale(parentTop)};
}

}  // namespace

HWND WindowLayout::Create(HWND owner, WNDPROC procedure, void* bound) {
    self = bound;
    RegisterClasses(instance, procedure);
    HMONITOR monitor = MonitorOfPointer();
    dpi = fixedDpi > 0 ? fixedDpi : MonitorDpi(monitor);
    appearance.UseDpi(dpi);
    RECT frame = CentredFrame(monitor);
    HWND main = ::CreateWindowExW(
        MainExStyle, MainClassName, Widen(LayoutOf(Widget::Form1).content).c_str(), MainStyle,
        frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
        instance, self);
    if (!main) throw Failure(SystemErrorText(::GetLastError()));
    // Without the monitor's DPI (shcore not loaded) Windows still tells the window's own.
    if (int actual = fixedDpi > 0 ? dpi : WindowDpi(main, dpi); actual != dpi) {
        dpi = actual;
        appearance.UseDpi(dpi);
        frame = CentredFrame(monitor);
        ::SetWindowPos(main, nullptr, frame.left, frame.top, frame.right - frame.left,
                       frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    windows[static_cast<std::size_t>(Widget::Form1)] = main;
    ::SendMessageW(main, WM_SETFONT, reinterpret_cast<WPARAM>(appearance.Font(FontId::Default)),
                   FALSE);
    CreateWidgets(false);
    return main;
}

bool WindowLayout::MakeHiddenPages() {
    if (hiddenPagesMade || !Window(Widget::Form1)) return false;
    hiddenPagesMade = true;
    CreateWidgets(true);
    return true;
}

// The first page and what surrounds the pages, or the pages that start hidden.
void WindowLayout::CreateWidgets(bool onHiddenPages) {
    for (Widget widget : CreationOrder()) {
        const WidgetRow& row = LayoutOf(widget);
        if (row.name != Widget::Form1 && OnHiddenPage(row) == onHiddenPages) CreateWidget(row);
    }
}

void WindowLayout::CreateWidget(const WidgetRow& row) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* className = ContainerClassName;
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
            style |= WS_TABSTOP |
                     (row.role == WidgetRole::DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
    }
    if (!(row.state & Hidden)) style |= WS_VISIBLE;
    if (row.state & Disabled) style |= WS_DISABLED;

    RECT rect = PlacedRect(row);
    HWND window = ::CreateWindowExW(
        exStyle, className, Widen(row.content).c_str(), style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, Window(row.parent),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(WidgetControlId(row.name))), instance,
        IsContainer(row.kind) ? self : nullptr);
    if (!window) throw Failure(SystemErrorText(::GetLastError()));
    windows[static_cast<std::size_t>(row.name)] = window;
    appearance.Dress(window, row, rect);
}

HWND WindowLayout::Made(Widget widget) {
    if (!Window(widget)) MakeHiddenPages();
    return Window(widget);
}

SIZE WindowLayout::FrameSize(int atDpi) const {
    const WidgetRow& main = LayoutOf(Widget::Form1);
    RECT client{0, 0, ::MulDiv(main.width, atDpi, 96), ::MulDiv(main.height, atDpi, 96)};
    RECT frame = FrameAround(client, MainStyle, MainExStyle, atDpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// The whole window at the current DPI, centred on the monitor.
RECT WindowLayout::CentredFrame(HMONITOR monitor) const {
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

// Every widget is laid out again from the table as at creation, in fonts made for the new DPI;
// the old fonts go once no widget uses them. Texts, states and the focus belong to the controls
// and stay as they are.
void WindowLayout::MoveToDpi(int newDpi, const RECT& suggested) {
    HWND main = Window(Widget::Form1);
    if (newDpi <= 0 || !main) return;
    dpi = newDpi;
    FontSet old = appearance.UseDpi(dpi);
    ::SendMessageW(main, WM_SETFONT, reinterpret_cast<WPARAM>(appearance.Font(FontId::Default)),
                   FALSE);
    for (const WidgetRow& row : MainWindowLayout) {
        if (row.name == Widget::Form1 || !Window(row.name)) continue;  // made later at this DPI
        RECT rect = PlacedRect(row);
        ::SetWindowPos(Window(row.name), nullptr, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        appearance.Dress(Window(row.name), row, rect);
    }
    ::SetWindowPos(main, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(main, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void WindowLayout::FitLabelToText(Widget label) {
    HWND window = Window(label);
    if (!window) return;
    RECT rect = PlacedRect(LayoutOf(label));
    ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the widget goes at the current DPI; a label as large as its text (the window's, or the
// table's before it is made), so that it is made or moved at that size rather than resized after.
RECT WindowLayout::PlacedRect(const WidgetRow& row) {
    RECT rect = ScaledRect(row, dpi);
    if (row.kind != WidgetKind::Label) return rect;
    HWND window = Window(row.name);
    std::wstring text = window ? WindowText(window) : Widen(row.content);
    if (text.empty()) text = L" ";
    std::optional<SIZE> needed = appearance.LabelTextSize(row.name, text);
    if (!needed) return rect;  // the table's size, which fits the initial texts
    return RECT{rect.left, rect.top, rect.left + needed->cx, rect.top + needed->cy};
}
