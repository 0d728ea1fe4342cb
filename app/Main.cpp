#include <windows.h>

#include "app/ApplicationTitle.h"
#include "install/OverlayFiles.h"
#include "platform/Platform.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FolderChooser.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"
#include "window/win32/ApplicationWindow.h"
#include "window/win32/MainWindow.h"
#include "window/win32/ModalWait.h"
#include "wizard/Unit1.h"

namespace {

int RunMessageLoop(MainWindow& window) {
    MSG message;
    // The other pages are made after the first one is painted and the wizard has waited for input
    // once: at the first timer tick after that, which comes only when nothing else waits. A
    // program that started the installer and waits until it is ready for input goes on before
    // them, and so do the shell and screen readers; no user clicks that soon, and a click that
    // needs them makes them at once.
    bool pagesMade = false;
    UINT_PTR pagesTick = 0;
    for (;;) {
        if (!pagesMade && !pagesTick && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            pagesTick = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
            if (!pagesTick) {
                window.CreateHiddenPages();
                pagesMade = true;
            }
        }
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        if (pagesTick && message.message == WM_TIMER && !message.hwnd &&
            message.wParam == pagesTick) {
            ::KillTimer(nullptr, pagesTick);
            pagesTick = 0;
            window.CreateHiddenPages();
            pagesMade = true;
            continue;
        }
        if (window.TranslateKeyboard(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

int Run(HINSTANCE instance, int showCommand) {
    InitialiseCommonControls();

    Win32Registry registry;
    Win32Libraries libraries;
    Win32FolderChooser chooser;
    Win32Resources resources;
    Win32Files files(OverlayFileNames);

    ApplicationWindow application(instance, ApplicationTitle);
    MainWindow window(instance, ApplicationTitle);
    ModalWait waiting(window);
    Platform platform{registry, libraries, chooser, resources, files, waiting};
    TForm1 form(window, platform);
    window.Create(form, application.Handle());
    application.Represent(window.Handle());
    chooser.SetOwner(window.Handle());
    application.Show();
    window.Show(showCommand);
    return RunMessageLoop(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    SecureDllSearch();
    try {
        return Run(instance, showCommand);
    } catch (const std::exception& error) {
        // Only start-up can get here (the window could not be made); say why and give up.
        ::MessageBoxW(nullptr, Widen(error.what()).c_str(), Widen(ApplicationTitle).c_str(),
                      MB_OK | MB_ICONERROR);
        return 1;
    }
}
