#include "app/Unit1.h"
#include "install/PayloadTable.h"
#include "platform/LineBreak.h"

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
        // The host program puts each report together from all six fragments, so they change
        // together or not at all: each is written beside its target, then the set is swapped in
        // (each new file with the archive attribute only) or, on any failure, left as it was.
        std::vector<std::string> targets;
        targets.reserve(PayloadTable.size());
        for (const PayloadEntry& entry : PayloadTable)
            targets.push_back(Location + entry.relativePath);
        std::unique_ptr<FileSet> templates = platform.files.BeginSet(targets);
        for (std::size_t i = 0; i < PayloadTable.size(); ++i) {
            OpenPayload payload(platform.resources, PayloadTable[i].resourceName);
            surface.SetText(Widget::StaticText4, PayloadTable[i].relativePath);
            templates->Stage(targets[i], payload.Get().data, payload.Get().size);
        }
        try {
            templates->Commit();
        } catch (const ReplaceFailed& failed) {
            surface.SetText(Widget::StaticText4, PayloadTable[failed.index].relativePath);
            throw;
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
