#include "app/Unit1.h"

namespace {
const char CR = '\r';
}

TForm1::TForm1(Surface& surface, Platform& platform) : surface(surface), platform(platform) {}

void TForm1::AppendText(Widget widget, const std::string& text) {
    surface.SetText(widget, surface.Text(widget) + text);
}

void TForm1::FormCreate() {
    activePage = 0;
    Location.clear();
    ComponentsFound = false;
    NetworkEdition = false;
    OwnerName = CountedString{};

    surface.SetText(
        Widget::StaticText2,
        std::string("Instalator zainstaluje nakładkę na szablony sprawozdania z badań.") + CR +
            "Efekt działania:" + CR);
    AppendText(
        Widget::StaticText2,
        std::string("W tabeli ciągłej z wynikami dla chemii metoda dozymetrii indywidualnej, "
                    "wprowadza kolumnę z wynikami oznaczenia przez podwykonawcę zawartości "
                    "związku w próbce.") +
            CR);
    AppendText(Widget::StaticText2,
               std::string("Usuwa wpis \"Podwykonawstwo badań\" z nad tabeli i wprowadza wpis "
                           "\"Podwykonawstwo badań\" pod nazwa związku w tabeli.") +
                   CR + CR);
    AppendText(Widget::StaticText2,
               std::string("Naciśnij przycisk \"Dalej >>\" jeśli chcesz kontynuować.") + CR);
}

void TForm1::BitBtn2Click() {
    surface.SetEnabled(Widget::BitBtn1, true);
    if (ActivePageIndex() < PageCount - 1) SetActivePageIndex(ActivePageIndex() + 1);
    if (PageCount == ActivePageIndex() + 1) {
        surface.SetEnabled(Widget::BitBtn2, false);
        surface.SetEnabled(Widget::BitBtn3, false);
    }
    GateNextOnSearchPage();
}

void TForm1::BitBtn1Click() {
    surface.SetEnabled(Widget::BitBtn2, true);
    surface.SetEnabled(Widget::BitBtn3, true);
    if (ActivePageIndex() > 0) SetActivePageIndex(ActivePageIndex() - 1);
    if (ActivePageIndex() == 0) surface.SetEnabled(Widget::BitBtn1, false);
    GateNextOnSearchPage();
}

// The wizard installs only into a folder whose probe succeeded: whichever way page 2 is reached,
// Next is offered there only while the last probe found the components.
void TForm1::GateNextOnSearchPage() {
    if (ActivePageIndex() == 1) surface.SetEnabled(Widget::BitBtn2, ComponentsFound);
}

void TForm1::BitBtn3Click() {
    surface.Close();
}

void TForm1::BitBtn4Click() {
    surface.Close();
}

namespace {
Widget PageWidget(int index) {
    static const Widget pages[TForm1::PageCount] = {Widget::TabSheet1, Widget::TabSheet2,
                                                    Widget::TabSheet3};
    return pages[index];
}
}  // namespace

void TForm1::SetActivePageIndex(int index) {
    if (index == activePage || index < 0 || index >= PageCount) return;
    static void (TForm1::*const showHandlers[PageCount])() = {nullptr, &TForm1::TabSheet2Show,
                                                              &TForm1::TabSheet3Show};
    static void (TForm1::*const hideHandlers[PageCount])() = {nullptr, &TForm1::TabSheet2Hide,
                                                              nullptr};
    int previous = activePage;
    surface.SetVisible(PageWidget(index), true);
    RunPageHandler(showHandlers[index]);
    surface.SetVisible(PageWidget(previous), false);
    RunPageHandler(hideHandlers[previous]);
    activePage = index;
}

// The page control hands an error from a page handler to the top-level handler and completes
// the change.
void TForm1::RunPageHandler(void (TForm1::*handler)()) {
    if (!handler) return;
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowUnknownException();
    }
}

std::string TopLevelErrorText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

void TForm1::ShowException(const std::exception& error) {
    surface.ShowErrorBox(TopLevelErrorText(error.what()));
}

void TForm1::ShowUnknownException() {
    surface.ShowErrorBox(TopLevelErrorText("Nieznany błąd"));
}
