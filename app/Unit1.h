#pragma once

#include <exception>
#include <string>

#include "app/CountedString.h"
#include "platform/Platform.h"
#include "platform/Surface.h"

// The wizard's one window: its state fields and every event handler. It reaches the window
// only through Surface and the system only through Platform.
class TForm1 {
  public:
    TForm1(Surface& surface, Platform& platform);

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

    // The application's top-level error handler.
    void ShowException(const std::exception& error);
    void ShowUnknownException();

    std::string Location;
    bool ComponentsFound = false;
    LibraryHandle ComponentLibrary = nullptr;
    bool NetworkEdition = false;
    CountedString OwnerName;

  private:
    void ProbeComponents();
    void AppendText(Widget widget, const std::string& text);
    void RunPageHandler(void (TForm1::*handler)());
    void GateNextOnSearchPage();

    Surface& surface;
    Platform& platform;
    int activePage = 0;
};

// The top-level error box's text: a "." is added when the last character sorts after ".".
std::string TopLevelErrorText(const std::string& message);
