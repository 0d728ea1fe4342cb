#include "discovery/ComponentProbe.h"

#include "wizard/Unit1.h"

ProbeAnswers AskComponentLibrary(Libraries& libraries, const std::string& path,
                                 std::atomic<LibraryHandle>& held) {
    ProbeAnswers answers;
    LibraryHandle library = libraries.Load(path);
    if (!library) return answers;
    held = library;
    answers.found = true;
    try {
        if (ExportAddress testSiec = libraries.Find(library, "TestSiec"))
            answers.networkEdition = libraries.CallByteFunction(testSiec) != 0;
        if (ExportAddress wlasciciel = libraries.Find(library, "Wlasciciel")) {
            OwnerBuffer buffer{};
            libraries.CallBufferFunction(wlasciciel, buffer);
            answers.ownerName = CountedString::FromBytes(buffer);
        }
    } catch (...) {
        answers.found = false;
    }
    // A library that faults while unloading is as faulty as one that faults when asked; it is
    // released all the same and never twice.
    try {
        libraries.Free(library);
    } catch (...) {
        answers.found = false;
    }
    held = nullptr;
    return answers;
}

// The library is asked away from the window, which stays in charge meanwhile.
ProbeAnswers TForm1::AskComponents(const std::string& location) {
    std::string path = location + "\\KORDALIN.dll";
    ProbeAnswers answers;
    platform.waiting.Run(Waiting::Leaving::AtOnce, [&](const Waiting::ToWindow&) {
        answers = AskComponentLibrary(platform.libraries, path, ComponentLibrary);
    });
    return answers;
}

void TForm1::ProbeComponents() {
    KeepAnswers(AskComponents(Location));
}

// The state keeps what the library answered, as far as it answered.
void TForm1::KeepAnswers(const ProbeAnswers& answers) {
    ComponentsFound = answers.found;
    if (answers.networkEdition) NetworkEdition = *answers.networkEdition;
    if (answers.ownerName) OwnerName = *answers.ownerName;
}
