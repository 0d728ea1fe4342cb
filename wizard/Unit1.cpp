#include "wizard/Unit1.h"

#include "wizard/LineBreak.h"

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
    if (ActivePageIndex() < PageCount - 1) SetActivePageIndex(ActivePageIndex() + 1);
}

void TForm1::BitBtn1Click() {
    if (ActivePageIndex() > 0) SetActivePageIndex(ActivePageIndex() - 1);
}

// The wizard installs only into a folder whose probe succeeded, however page 2 was reached
// (after a failed search, a failed choice or Back from page 3).
NavigationButtons TForm1::Navigation() const {
    switch (activePage) {
        case 0:
            return {false, true, true};
        case 1:
            return {true, ComponentsFound, true};
        default:
            return {!installed, false, false};
    }
}

void TForm1::UpdateNavigation() {
    NavigationButtons buttons = Navigation();
    surface.SetEnabled(Widget::BitBtn1, buttons.back);
    surface.SetEnabled(Widget::BitBtn2, buttons.next);
    surface.SetEnabled(Widget::BitBtn3, buttons.cancel);
}

void TForm1::BitBtn3Click() {
    surface.Close();
}

void TForm1::BitBtn4Click() {
    surface.Close();
}

void TForm1::SetActivePageIndex(int index) {
    if (index == activePage || index < 0 || index >= PageCount) return;
    // Page i's sheet and its handlers.
    static const struct {
        Widget sheet;
        Handler show, hide;
    } pages[PageCount] = {
        {Widget::TabSheet1, nullptr, nullptr},
        {Widget::TabSheet2, &TForm1::TabSheet2Show, &TForm1::TabSheet2Hide},
        {Widget::TabSheet3, &TForm1::TabSheet3Show, nullptr},
    };
    int previous = activePage;
    surface.SetVisible(pages[index].sheet, true);
    Run(pages[index].show);
    surface.SetVisible(pages[previous].sheet, false);
    Run(pages[previous].hide);
    activePage = index;
}

// Shared by the events and the page change, which hands an error from a page handler to the
// top-level handler and completes.
void TForm1::Run(Handler handler) {
    if (!handler) return;
    try {
        try {
            (this->*handler)();
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowUnknownException();
        }
    } catch (...) {
        // The error box itself failed; there is nothing left to report it with.
    }
}

void TForm1::Created() {
    Run(&TForm1::FormCreate);
    Run(&TForm1::UpdateNavigation);
}

void TForm1::Clicked(Widget widget) {
    static const struct {
        Widget widget;
        Handler handler;
    } clickHandlers[] = {
        {Widget::BitBtn1, &TForm1::BitBtn1Click}, {Widget::BitBtn2, &TForm1::BitBtn2Click},
        {Widget::BitBtn3, &TForm1::BitBtn3Click}, {Widget::BitBtn4, &TForm1::BitBtn4Click},
        {Widget::BitBtn5, &TForm1::BitBtn5Click},
    };
    for (const auto& entry : clickHandlers)
        if (entry.widget == widget) Run(entry.handler);
    Run(&TForm1::UpdateNavigation);
}

// The close box does what "Anuluj" and "Zamknij." do.
void TForm1::CloseRequested() {
    surface.Close();
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
