#include "platform/win32/Win32FolderChooser.h"

#include <objbase.h>
#include <shlobj.h>

#include "platform/Failure.h"
#include "platform/win32/CallbackEdge.h"
#include "platform/win32/ErrorModeScope.h"
#include "platform/win32/SystemFunctions.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

namespace {

void FreeItemList(PIDLIST_ABSOLUTE list) {
    System().CoTaskMemFree(list);
}
using UniqueItemList = UniqueHandle<PIDLIST_ABSOLUTE, FreeItemList>;

// The shell's browse dialog needs COM on this thread; whoever started it ends it.
class ComApartment {
  public:
    ComApartment()
        : started(SUCCEEDED(
              System().CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (started) System().CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool started;
};

// The folder to preselect, what the dialog shows selected so far, and whether the user has done
// anything in it yet; kept with the dialog (a window property) while it is asked for.
struct Preselection {
    std::wstring folder;
    std::wstring selected;
    int retries = 3;
    bool userActed = false;
};

const wchar_t* const PreselectionProperty = L"FolderChooserPreselection";
constexpr UINT_PTR RetryTimer = 1;

bool IsUserInput(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_MOUSEWHEEL:
            return true;
    }
    return false;
}

// Notes a key or mouse button pressed anywhere in the dialog, before the dialog sees it.
LRESULT CALLBACK WatchInput(int code, WPARAM wParam, LPARAM lParam) {
    AtCallbackEdge(0, [&] {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (code != HC_ACTION || !message->hwnd || !IsUserInput(message->message)) return 0;
        HWND dialog = ::GetAncestor(message->hwnd, GA_ROOT);
        if (auto* preselection =
                static_cast<Preselection*>(::GetPropW(dialog, PreselectionProperty)))
            preselection->userActed = true;
        return 0;
    });
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

using UniqueHook = UniqueHandle<HHOOK, ::UnhookWindowsHookEx>;

void Select(HWND dialog, const Preselection& preselection) {
    ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                   reinterpret_cast<LPARAM>(preselection.folder.c_str()));
}

// Wine's dialog sometimes drops the first selection while its tree is still being filled (seen
// on a busy machine); asking again a moment later fixes it. Once the user has pressed a key or a
// mouse button in the dialog, the selection is theirs and is not asked for again.
void CALLBACK RetryPreselection(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    AtCallbackEdge(0, [&] {
        auto* preselection = static_cast<Preselection*>(::GetPropW(dialog, PreselectionProperty));
        if (!preselection || preselection->userActed || preselection->retries-- <= 0 ||
            ::CompareStringOrdinal(preselection->selected.c_str(), -1, preselection->folder.c_str(),
                                   -1, TRUE) == CSTR_EQUAL) {
            ::KillTimer(dialog, timer);
            ::RemovePropW(dialog, PreselectionProperty);
            return 0;
        }
        Select(dialog, *preselection);
        return 0;
    });
}

int CALLBACK PreselectFolder(HWND dialog, UINT message, LPARAM item, LPARAM data) {
    return AtCallbackEdge(0, [&] {
        auto* preselection = reinterpret_cast<Preselection*>(data);
        if (!preselection) return 0;
        if (message == BFFM_INITIALIZED) {
            ::SetPropW(dialog, PreselectionProperty, preselection);
            Select(dialog, *preselection);
            ::SetTimer(dialog, RetryTimer, 200, &RetryPreselection);
        } else if (message == BFFM_SELCHANGED) {
            wchar_t path[MAX_PATH] = L"";
            if (item &&
                System().SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path))
                preselection->selected = path;
            else
                preselection->selected.clear();
        }
        return 0;
    });
}

bool IsExistingFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<std::string> Win32FolderChooser::Choose(const std::string& title,
                                                      const std::string& initialFolder) {
    if (!ProvideSystemFunctions(SystemGroup::Shell)) throw Failure(SystemErrorText(::GetLastError()));
    ComApartment com;
    std::wstring wideTitle = Widen(title);
    std::wstring initial = Widen(initialFolder);

    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = wideTitle.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = &PreselectFolder;
    Preselection preselection{initial, {}};
    browse.lParam = IsExistingFolder(initial) ? reinterpret_cast<LPARAM>(&preselection) : 0;

    // The dialog disables its owner while it is open and enables it afterwards.
    UniqueItemList chosen;
    UniqueHook watch(
        ::SetWindowsHookExW(WH_GETMESSAGE, &WatchInput, nullptr, ::GetCurrentThreadId()));
    {
        // Browsing an empty floppy or card reader must not raise the "insert a disk" box.
        ErrorModeScope quiet(SEM_FAILCRITICALERRORS);
        chosen.reset(System().SHBrowseForFolderW(&browse));
    }
    watch.reset();
    if (!chosen) return std::nullopt;

    wchar_t path[MAX_PATH];
    if (!System().SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
    return Narrow(path);
}
