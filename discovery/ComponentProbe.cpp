#include "app/Unit1.h"

void TForm1::ProbeComponents() {
    Libraries& libraries = platform.libraries;
    ComponentsFound = true;
    ComponentLibrary = libraries.Load(Location + "\\KORDALIN.dll");
    if (!ComponentLibrary) {
        ComponentsFound = false;
        return;
    }
    try {
        if (ExportAddress testSiec = libraries.Find(ComponentLibrary, "TestSiec"))
            NetworkEdition = libraries.CallByteFunction(testSiec) != 0;
        if (ExportAddress wlasciciel = libraries.Find(ComponentLibrary, "Wlasciciel")) {
            OwnerBuffer buffer{};
            libraries.CallBufferFunction(wlasciciel, buffer);
            OwnerName = CountedString::FromBytes(buffer);
        }
    } catch (...) {
        ComponentsFound = false;
    }
    // A library that faults while unloading is as faulty as one that faults when asked; it is
    // released all the same and never twice.
    LibraryHandle library = ComponentLibrary;
    ComponentLibrary = nullptr;
    try {
        libraries.Free(library);
    } catch (...) {
        ComponentsFound = false;
    }
}
