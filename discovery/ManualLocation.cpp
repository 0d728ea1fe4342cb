#include "wizard/LineBreak.h"
#include "wizard/Unit1.h"
#include "discovery/ChosenLocation.h"
#include "discovery/ResultText.h"
#include "platform/FolderOf.h"

void TForm1::BitBtn5Click() {
    struct Confirmed {
        std::string location;
        bool networkEdition;
        CountedString ownerName;
    };
    // Once a folder has been confirmed, a failed choice must not take its place.
    std::optional<Confirmed> confirmed;
    if (ComponentsFound) confirmed = Confirmed{Location, NetworkEdition, OwnerName};

    std::optional<std::string> chosen =
        platform.folderChooser.Choose("Wybierz folder:", FolderOf(surface.OwnPath()));
    if (chosen) Location = ChosenLocation(*chosen);
    surface.SetText(Widget::Edit1, Location);
    ProbeComponents();

    if (!ComponentsFound) {
        if (confirmed) {
            Location = confirmed->location;
            NetworkEdition = confirmed->networkEdition;
            OwnerName = confirmed->ownerName;
            ComponentsFound = true;
            surface.SetText(Widget::Edit1, Location);
        }
        surface.ShowMessage(
            "W podanej lokalizacji nie odnaleziono potrzebnych składników programu. Zmień "
            "lokalizację lub skontaktuj się ze sprzedawcą.");
        return;
    }
    surface.SetText(Widget::StaticText3, EditionLine(NetworkEdition) + CR);
    AppendText(Widget::StaticText3, OwnerName.ToString() + CR);
    AppendText(Widget::StaticText3, InstallPrompt);
}
