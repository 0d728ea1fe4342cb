#include "tests/e2e/Driver.h"

#include <stdexcept>
#include <thread>
#include <vector>

#include "app/ApplicationTitle.h"
#include "platform/win32/CallbackEdge.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Text.h"

namespace e2e {
namespace {

// A wizard busy in a handler answers late, but a hung one must not hang the tests.
constexpr UINT ReplyTimeoutMs = 5000;
constexpr int MessageTextId = 0xFFFF;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, ReplyTimeoutMs,
                               &result))
        return 0;
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
    return AtCallbackEdge<BOOL>(FALSE, [&] {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
        return TRUE;
    });
}

// Every top-level window, or every window below the parent.
std::vector<HWND> AllWindows(HWND parent = nullptr) {
    std::vector<HWND> windows;
    auto context = reinterpret_cast<LPARAM>(&windows);
    parent ? ::EnumChildWindows(parent, Collect, context) : ::EnumWindows(Collect, context);
    return windows;
}

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match) {
    for (HWND window : AllWindows(parent))
        if (match(window)) return window;
    return nullptr;
}

HWND FolderTree(HWND dialog) {
    return FindDescendant(dialog, [](HWND w) { return ClassName(w) == WC_TREEVIEWA; });
}

// The last shown top-level window of the process that matches, once there is one.
HWND WaitForTopLevel(DWORD processId, const std::function<bool(HWND)>& match,
                     std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId))
                if (IsShown(window) && match(window)) found = window;
            return found != nullptr;
        },
        timeout);
    return found;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
    std::vector<HWND> found;
    for (HWND window : AllWindows()) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId) found.push_back(window);
    }
    return found;
}

std::vector<HWND> TaskbarWindows(DWORD processId) {
    std::vector<HWND> listed;
    for (HWND window : TopLevelWindows(processId)) {
        LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
        if (!::IsWindowVisible(window) || (exStyle & WS_EX_TOOLWINDOW)) continue;
        if (::GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_APPWINDOW)) continue;
        listed.push_back(window);
    }
    return listed;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
}

Process::Process(const std::wstring& exe, const std::wstring& workingDirectory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                          &info))
        throw std::runtime_error("cannot start " + Narrow(exe) + ": " +
                                 SystemErrorText(::GetLastError()));
    UniqueKernelHandle thread(info.hThread);
    handle.reset(info.hProcess);
    id = info.dwProcessId;
}

bool Process::Running() const {
    return handle && ::WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD& exitCode, std::chrono::milliseconds timeout) {
    if (!handle) return false;
    if (::WaitForSingleObject(handle.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return false;
    return ::GetExitCodeProcess(handle.get(), &exitCode) != 0;
}

void Process::Kill() {
    if (!handle) return;
    if (Running()) {
        ::TerminateProcess(handle.get(), 1);
        ::WaitForSingleObject(handle.get(), 5000);
    }
    handle.reset();
}

std::string Text(HWND window) {
    if (!window) return "<no window>";
    auto length = static_cast<size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    auto copied = static_cast<size_t>(
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied < length ? copied : length);
    return Narrow(text);
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return Narrow(name);
}

bool IsShown(HWND window) {
    return window && (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsVisibleOnScreen(HWND window) {
    return window && ::IsWindowVisible(window);
}

bool IsEnabled(HWND window) {
    return window && ::IsWindowEnabled(window);
}

RECT RectInParent(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    HWND parent = (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? ::GetParent(window) : nullptr;
    if (parent) ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

void Click(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void PostClose(HWND window) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
}

void PostSystemClose(HWND window) {
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND FindTopLevel(DWORD processId, const wchar_t* className, const std::string* caption) {
    for (HWND window : TopLevelWindows(processId)) {
        if (className && ClassName(window) != Narrow(className)) continue;
        if (caption && Text(window) != *caption) continue;
        return window;
    }
    return nullptr;
}

Wizard Wizard::Attach(const Process& process, std::chrono::milliseconds timeout) {
    std::string caption = Title;
    return Wizard(WaitForTopLevel(
        process.Id(),
        [&](HWND window) { return ClassName(window) != "#32770" && e2e::Text(window) == caption; },
        timeout));
}

HWND Wizard::Window(Widget widget) const {
    if (!main || widget == Widget::Form1) return main;
    int id = WidgetControlId(widget);
    return FindDescendant(main, [id](HWND w) { return ::GetDlgCtrlID(w) == id; });
}

int Wizard::VisiblePage() const {
    const Widget pages[] = {Widget::TabSheet1, Widget::TabSheet2, Widget::TabSheet3};
    int visible = -1;
    for (int index = 0; index < 3; ++index) {
        if (!IsVisibleOnScreen(Window(pages[index]))) continue;
        if (visible != -1) return -1;
        visible = index;
    }
    return visible;
}

bool Wizard::WaitForPage(int index, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return VisiblePage() == index; }, timeout);
}

MessageBoxView WaitForMessageBox(const Process& process, std::chrono::milliseconds timeout) {
    MessageBoxView view;
    view.window = WaitForTopLevel(
        process.Id(),
        [](HWND window) {
            return ClassName(window) == "#32770" && Text(window) == ApplicationTitle;
        },
        timeout);
    if (!view.window) return view;
    HWND text = ::GetDlgItem(view.window, MessageTextId);
    view.text = text ? Text(text) : "<no text control>";
    view.hasIcon = FindDescendant(view.window, [](HWND w) {
                       return (::GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                              IsShown(w) && Send(w, STM_GETICON, 0, 0) != 0;
                   }) != nullptr;
    return view;
}

bool PressOk(HWND dialog) {
    HWND ok = ::GetDlgItem(dialog, IDOK);
    if (ok)
        Click(ok);
    else
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !::IsWindow(dialog); });
}

bool NoMessageBoxAppears(const Process& process, std::chrono::milliseconds wait) {
    return WaitForMessageBox(process, wait).window == nullptr;
}

// TVM_GETITEM fills a structure in the tree's own process, so it is built there.
std::string FolderChooserSelection(HWND chooser) {
    HWND tree = FolderTree(chooser);
    if (!tree) return {};
    auto item = static_cast<LPARAM>(Send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return {};
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tree, &processId);
    UniqueKernelHandle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return {};
    constexpr size_t TextChars = MAX_PATH;
    struct Remote {
        TVITEMW item;
        wchar_t text[TextChars];
    };
    auto* remote = static_cast<Remote*>(
        ::VirtualAllocEx(process.get(), nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return {};
    Remote local{};
    local.item.mask = TVIF_TEXT;
    local.item.hItem = reinterpret_cast<HTREEITEM>(item);
    local.item.pszText = remote->text;
    local.item.cchTextMax = TextChars;
    std::string text;
    if (::WriteProcessMemory(process.get(), remote, &local, sizeof local, nullptr) &&
        Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&remote->item)) &&
        ::ReadProcessMemory(process.get(), remote, &local, sizeof local, nullptr)) {
        local.text[TextChars - 1] = L'\0';
        text = Narrow(local.text);
    }
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return text;
}

HWND WaitForFolderChooser(const Process& process, std::chrono::milliseconds timeout) {
    return WaitForTopLevel(
        process.Id(),
        [](HWND window) { return ClassName(window) == "#32770" && FolderTree(window); }, timeout);
}

}  // namespace e2e
