#include "discovery/ComponentProbe.h"

#include "wizard/Unit1.h"

ProbeAnswers AskComponentLibrary(Libraries& libraries, const std::string& path,
                                 FunctionRef<void(LibraryHandle)> holding) {
    ProbeAnswers answers;
    LibraryHandle library = libraries.Load(path);
    if (!library) return answers;
    holding(library);
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
    holding(nullptr);
    return answers;
}

// The library is asked away from the window, which stays in charge meanwhile; the answers come
// back into the state fields here, on the window's thread. ComponentLibrary follows the handle as
// the asking reports it.
void TForm1::ProbeComponents() {
    std::string path = Location + "\\KORDALIN.dll";
    ProbeAnswers answers;
    platform.waiting.Run(Waiting::Leaving::AtOnce, [&](const Waiting::ToWindow& toWindow) {
        answers = AskComponentLibrary(platform.libraries, path, [&](LibraryHandle library) {
            toWindow([&] { ComponentLibrary = library; });
        });
    });
    ComponentsFound = answers.found;
    if (answers.networkEdition) NetworkEdition = *answers.networkEdition;
    if (answers.ownerName) OwnerName = *answers.ownerName;
}
