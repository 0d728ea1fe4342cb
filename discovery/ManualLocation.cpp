#include "app/Unit1.h"
#include "discovery/ResultText.h"

namespace {
const char CR = '\r';

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('\\');
    if (slash == std::string::npos) return {};
    std::string folder = path.substr(0, slash);
    // A drive root keeps its backslash, as in D:\.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}
}  // namespace

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
    if (chosen) {
        Location = *chosen;
        if (!Location.empty() && Location.back() == '\\') Location.pop_back();
    }
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
    surface.SetEnabled(Widget::BitBtn2, true);
}
