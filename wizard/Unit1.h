#pragma once

#include <atomic>
#include <exception>
#include <string>

#include "platform/Platform.h"
#include "window/Surface.h"
#include "window/WindowEvents.h"
#include "wizard/ProbeAnswers.h"

// The enabled states of "<< Cofnij", "Dalej >>" and "Anuluj".
struct NavigationButtons {
    bool back, next, cancel;
};

// The wizard's one window: its state fields and every event handler. It reaches the window
// only through Surface and the system only through Platform; the window reports its events here.
class TForm1 : public WindowEvents {
  public:
    TForm1(Surface& surface, Platform& platform);

    // Each event runs its handler under the top-level error handler, then sets the navigation
    // buttons from the wizard's state.
    void Created() override;
    void Clicked(Widget widget) override;
    void CloseRequested() override;

    void FormCreate();
    void BitBtn1Click();  // "<< Cofnij"
    void BitBtn2Click();  // "Dalej >>"
    void BitBtn3Click();  // "Anuluj"
    void BitBtn4Click();  // "Zamknij."
    void BitBtn5Click();  // "...", manual folder choice
    void TabSheet2Show();
    void TabSheet2Hide();
    void TabSheet3Show();

    static constexpr int PageCount = 3;
    int ActivePageIndex() const { return activePage; }
    // Runs the new page's show handler, then the old page's hide handler; an error escaping
    // either goes to the top-level handler and the change still completes.
    void SetActivePageIndex(int index);

    // The navigation buttons as the wizard's state has them; the one place they are decided.
    NavigationButtons Navigation() const;

    // The application's top-level error handler.
    void ShowException(const std::exception& error);
    void ShowUnknownException();

    std::string Location;
    bool ComponentsFound = false;
    // The library's handle for exactly as long as it is loaded: written where the library is
    // loaded and released (off the window's thread), so it is atomic rather than handed over.
    std::atomic<LibraryHandle> ComponentLibrary{nullptr};
    bool NetworkEdition = false;
    CountedString OwnerName;

  private:
    using Handler = void (TForm1::*)();
    void ProbeComponents();
    // What the library in `location` answers, asked away from the window.
    ProbeAnswers AskComponents(const std::string& location);
    void KeepAnswers(const ProbeAnswers& answers);
    void AppendText(Widget widget, const std::string& text);
    // Runs a handler; whatever escapes it goes to the top-level error handler.
    void Run(Handler handler);
    void UpdateNavigation();

    Surface& surface;
    Platform& platform;
    int activePage = 0;
    bool installed = false;  // the last installation succeeded
};

// The top-level error box's text: a "." is added when the last character sorts after ".".
std::string TopLevelErrorText(const std::string& message);
