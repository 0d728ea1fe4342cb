#include "discovery/ResultText.h"
#include "wizard/LineBreak.h"
#include "wizard/Unit1.h"

void TForm1::TabSheet2Show() {
    if (surface.Tag(Widget::TabSheet2) == 0) {
        // The reader opens and closes the key itself, on every path.
        std::optional<std::string> folder =
            platform.registry.ReadUserString("KvTesmaren", "Lokalizacja");
        if (folder) {
            Location = *folder;
            ProbeComponents();
            if (ComponentsFound) {
                surface.SetText(Widget::StaticText3, EditionLine(NetworkEdition) + CR);
                AppendText(Widget::StaticText3, "Lokalizacja: " + Location + CR);
                AppendText(Widget::StaticText3, OwnerName.ToString() + CR);
                AppendText(Widget::StaticText3, InstallPrompt);
            } else {
                surface.ShowMessage(
                    "Nie odnaleziono potrzebnych składników programu, skontaktuj się ze "
                    "sprzedawcą. Nastąpi zamknięcie instalatora.");
                surface.Close();
            }
        } else {
            surface.SetText(Widget::StaticText3,
                            std::string("Nie odnaleziono rejestru!!!") + CR +
                                "Problem z określeniem lokalizacji programu \"Tesmren\". Określ "
                                "lokalizację programu na dysku lub skontaktuj się ze sprzedawcą.");
            surface.SetVisible(Widget::Edit1, true);
            surface.SetVisible(Widget::BitBtn5, true);
        }
    }
    surface.SetTag(Widget::TabSheet2, 1);
}

void TForm1::TabSheet2Hide() {
    if (surface.Tag(Widget::TabSheet2) != 0) return;
    surface.SetVisible(Widget::Edit1, false);
    surface.SetVisible(Widget::BitBtn5, false);
    surface.SetText(Widget::StaticText3, "");
}
