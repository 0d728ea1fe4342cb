#include "platform/win32/Win32FolderChooser.h"

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/CallbackEdge.h"
#include "platform/win32/ErrorModeScope.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

namespace {

struct ItemListTraits {
    using Type = PIDLIST_ABSOLUTE;
    static Type Invalid() { return nullptr; }
    static void Close(Type list) { ::CoTaskMemFree(list); }
};
using UniqueItemList = UniqueHandle<ItemListTraits>;

// The shell's browse dialog needs COM on this thread; whoever started it ends it.
class ComApartment {
  public:
    ComApartment()
        : started(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (started) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool started;
};

// The folder to preselect and what the dialog shows selected so far.
struct Preselection {
    std::wstring folder;
    std::wstring selected;
    int retries = 3;
};

const wchar_t* const PreselectionProperty = L"InstalatorPreselection";
constexpr UINT_PTR RetryTimer = 1;

void Select(HWND dialog, const Preselection& preselection) {
    ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                   reinterpret_cast<LPARAM>(preselection.folder.c_str()));
}

// Wine's dialog sometimes drops the first selection while its tree is still being filled (seen
// on a busy machine); asking again a moment later, before the user can have chosen, fixes it.
void CALLBACK RetryPreselection(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    AtCallbackEdge(0, [&] {
        auto* preselection = static_cast<Preselection*>(::GetPropW(dialog, PreselectionProperty));
        if (!preselection || preselection->retries-- <= 0 ||
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
            if (item && ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path))
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
    {
        // Browsing an empty floppy or card reader must not raise the "insert a disk" box.
        ErrorModeScope quiet(SEM_FAILCRITICALERRORS);
        chosen.reset(::SHBrowseForFolderW(&browse));
    }
    if (!chosen) return std::nullopt;

    wchar_t path[MAX_PATH];
    if (!::SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
    return Narrow(path);
}
