#include "app/Unit1.h"
#include "install/PayloadTable.h"
#include "platform/Conventions.h"

namespace {

// Releases the payload it holds exactly once, whichever way the step ends.
class OpenPayload {
  public:
    OpenPayload(Resources& resources, const char* name)
        : resources(resources), payload(resources.Open(name)) {}
    OpenPayload(const OpenPayload&) = delete;
    OpenPayload& operator=(const OpenPayload&) = delete;
    ~OpenPayload() { resources.Release(payload); }
    const Payload& Get() const { return payload; }

  private:
    Resources& resources;
    Payload payload;
};
}  // namespace

void TForm1::TabSheet3Show() {
    try {
        installed = false;
        AppendText(Widget::StaticText6, std::string("Instalacja nakładki Z27Z.") + CR);
        for (const PayloadEntry& entry : PayloadTable) {
            OpenPayload payload(platform.resources, entry.resourceName);
            std::string target = Location + entry.relativePath;
            // Clears read-only, hidden and system so that the file can be replaced.
            platform.files.SetAttributes(target, ArchiveAttribute);
            surface.SetText(Widget::StaticText4, entry.relativePath);
            platform.files.ReplaceContents(target, payload.Get().data, payload.Get().size);
        }
        surface.SetText(Widget::StaticText4, "");
        AppendText(Widget::StaticText6,
                   std::string("Gotowe. Zainstalowano nakładkę Z27Z. Zamknij instalatora i "
                               "uruchom program \"Tesmaren\".") +
                       CR + CR);
        AppendText(Widget::StaticText6,
                   "Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich "
                   "komputerach.");
        installed = true;
    } catch (...) {
        AppendText(Widget::StaticText6,
                   "Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj "
                   "się ze sprzedawcą.");
    }
}
