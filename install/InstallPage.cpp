#include "install/InstallTemplates.h"
#include "install/PayloadTable.h"
#include "wizard/LineBreak.h"
#include "wizard/Unit1.h"

// The host program puts each report together from all six fragments, so they change together or
// not at all: each is written beside its target, then the set is swapped in (each new file with
// the archive attribute only) or, on any failure, left as it was.
InstallOutcome InstallTemplates(Resources& resources, Files& files, const std::string& location,
                                FunctionRef<void(std::size_t)> showing) {
    std::optional<std::size_t> at;
    try {
        std::vector<std::string> targets;
        targets.reserve(PayloadTable.size());
        for (const PayloadEntry& entry : PayloadTable)
            targets.push_back(location + entry.relativePath);
        std::unique_ptr<FileSet> templates = files.BeginSet(targets);
        for (std::size_t i = 0; i < PayloadTable.size(); ++i) {
            Payload payload = resources.Open(PayloadTable[i].resourceName);
            at = i;
            showing(i);
            templates->Stage(targets[i], payload.data, payload.size);
        }
        templates->Commit();
        return {true, std::nullopt};
    } catch (const ReplaceFailed& failed) {
        return {false, failed.index};
    } catch (...) {
        return {false, at};
    }
}

// The set is written away from the window, which keeps showing the file at hand meanwhile. A wait
// that lets something escape installed nothing either.
void TForm1::TabSheet3Show() {
    installed = false;
    AppendText(Widget::StaticText6, std::string("Instalacja nakładki Z27Z.") + CR);
    auto show = [this](std::size_t entry) {
        surface.SetText(Widget::StaticText4, PayloadTable[entry].relativePath);
    };
    InstallOutcome outcome;
    try {
        platform.waiting.Run(Waiting::Leaving::AfterWork, [&](const Waiting::ToWindow& toWindow) {
            outcome = InstallTemplates(platform.resources, platform.files, Location,
                                       [&](std::size_t entry) { toWindow([&] { show(entry); }); });
        });
    } catch (const WorkEscaped&) {
    }
    if (!outcome.installed) {
        if (outcome.stoppedAt) show(*outcome.stoppedAt);
        AppendText(Widget::StaticText6,
                   "Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj "
                   "się ze sprzedawcą.");
        return;
    }
    surface.SetText(Widget::StaticText4, "");
    AppendText(Widget::StaticText6,
               std::string("Gotowe. Zainstalowano nakładkę Z27Z. Zamknij instalatora i uruchom "
                           "program \"Tesmaren\".") +
                   CR + CR);
    AppendText(Widget::StaticText6,
               "Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich "
               "komputerach.");
    installed = true;
}
