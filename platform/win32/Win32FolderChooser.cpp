#include "platform/win32/Win32FolderChooser.h"

#include <objbase.h>
#include <shlobj.h>

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

// Browsing an empty floppy or card reader must not raise the system's "insert a disk" box.
class CriticalErrorsSuppressed {
  public:
    CriticalErrorsSuppressed() : previous(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsSuppressed() { ::SetErrorMode(previous); }
    CriticalErrorsSuppressed(const CriticalErrorsSuppressed&) = delete;
    CriticalErrorsSuppressed& operator=(const CriticalErrorsSuppressed&) = delete;

  private:
    UINT previous;
};

int CALLBACK PreselectFolder(HWND dialog, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder)
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
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
    browse.lParam = IsExistingFolder(initial) ? reinterpret_cast<LPARAM>(initial.c_str()) : 0;

    // The dialog disables its owner while it is open and enables it afterwards.
    UniqueItemList chosen;
    {
        CriticalErrorsSuppressed quiet;
        chosen.reset(::SHBrowseForFolderW(&browse));
    }
    if (!chosen) return std::nullopt;

    wchar_t path[MAX_PATH];
    if (!::SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
    return Narrow(path);
}
