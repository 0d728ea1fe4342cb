#include "wizard/LineBreak.h"
#include "wizard/Unit1.h"
#include "install/InstallTemplates.h"
#include "install/PayloadTable.h"

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

// The host program puts each report together from all six fragments, so they change together or
// not at all: each is written beside its target, then the set is swapped in (each new file with
// the archive attribute only) or, on any failure, left as it was.
InstallOutcome InstallTemplates(Resources& resources, Files& files, const std::string& location,
                                FunctionRef<void(std::size_t)> showing) {
    InstallOutcome outcome;
    try {
        std::vector<std::string> targets;
        targets.reserve(PayloadTable.size());
        for (const PayloadEntry& entry : PayloadTable)
            targets.push_back(location + entry.relativePath);
        std::unique_ptr<FileSet> templates = files.BeginSet(targets);
        for (std::size_t i = 0; i < PayloadTable.size(); ++i) {
            OpenPayload payload(resources, PayloadTable[i].resourceName);
            outcome.stoppedAt = i;
            showing(i);
            templates->Stage(targets[i], payload.Get().data, payload.Get().size);
        }
        try {
            templates->Commit();
        } catch (const ReplaceFailed& failed) {
            outcome.stoppedAt = failed.index;  // shown by the caller, once the set has ended
            throw;
        }
        outcome = {true, std::nullopt};
    } catch (...) {
    }
    return outcome;
}

// The set is written away from the window, which keeps showing the file at hand meanwhile.
void TForm1::TabSheet3Show() {
    installed = false;
    try {
        AppendText(Widget::StaticText6, std::string("Instalacja nakładki Z27Z.") + CR);
        auto show = [this](std::size_t entry) {
            surface.SetText(Widget::StaticText4, PayloadTable[entry].relativePath);
        };
        InstallOutcome outcome;
        platform.waiting.Run(Waiting::Leaving::AfterWork, [&](const Waiting::ToWindow& toWindow) {
            outcome = InstallTemplates(platform.resources, platform.files, Location,
                                       [&](std::size_t entry) { toWindow([&] { show(entry); }); });
        });
        if (outcome.installed) {
            surface.SetText(Widget::StaticText4, "");
            AppendText(Widget::StaticText6,
                       std::string("Gotowe. Zainstalowano nakładkę Z27Z. Zamknij instalatora i "
                                   "uruchom program \"Tesmaren\".") +
                           CR + CR);
            AppendText(Widget::StaticText6,
                       "Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich "
                       "komputerach.");
            installed = true;
            return;
        }
        if (outcome.stoppedAt) show(*outcome.stoppedAt);
    } catch (...) {
        // The window failed us on the way; the user still learns that nothing was installed.
    }
    AppendText(Widget::StaticText6,
               "Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj "
               "się ze sprzedawcą.");
}
