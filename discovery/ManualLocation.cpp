#include "discovery/ChosenLocation.h"
#include "discovery/ResultText.h"
#include "platform/FolderOf.h"
#include "wizard/LineBreak.h"
#include "wizard/Unit1.h"

// The chosen folder is shown while it is searched; what the search answers decides what is kept.
// Once a folder has been confirmed, a failed choice does not take its place.
void TForm1::BitBtn5Click() {
    std::optional<std::string> chosen =
        platform.folderChooser.Choose("Wybierz folder:", FolderOf(surface.OwnPath()));
    std::string location = chosen ? ChosenLocation(*chosen) : Location;
    surface.SetText(Widget::Edit1, location);
    ProbeAnswers answers = AskComponents(location);

    if (!answers.found) {
        if (ComponentsFound)
            surface.SetText(Widget::Edit1, Location);
        else
            Location = location;
        surface.ShowMessage(
            "W podanej lokalizacji nie odnaleziono potrzebnych składników programu. Zmień "
            "lokalizację lub skontaktuj się ze sprzedawcą.");
        return;
    }
    Location = location;
    KeepAnswers(answers);
    surface.SetText(Widget::StaticText3, EditionLine(NetworkEdition) + CR);
    AppendText(Widget::StaticText3, OwnerName.ToString() + CR);
    AppendText(Widget::StaticText3, InstallPrompt);
}
