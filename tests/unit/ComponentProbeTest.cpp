#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

FakeLibrary Faulting(FakeLibrary library, bool FakeLibrary::*fault) {
    library.*fault = true;
    return library;
}

// The probe is private; page 2 runs it on the registry's folder, so the test goes through there.
// Whatever the library does, it is loaded from the folder, released exactly once and held in
// ComponentLibrary only meanwhile; a fault means "not found" and skips what was still to be asked.
TEST(ComponentProbe, TheLibrarysAnswersAreKeptAndItIsReleasedOnceWhateverItDoes) {
    const std::string owner255(255, '\xB3');
    const struct {
        const char* situation;
        FakeLibrary library;
        bool found, network, asksOwner;
        std::string owner;
    } cases[] = {
        {"answers; any nonzero byte is true",
         {7, "Pracownia Łódź"},
         true,
         true,
         true,
         "Pracownia Łódź"},
        {"owner of the longest length", {0, owner255}, true, false, true, owner255},
        {"no edition export",
         {std::nullopt, "Tylko właściciel"},
         true,
         false,
         true,
         "Tylko właściciel"},
        {"no export at all", {}, true, false, false, ""},
        {"edition faults", Faulting({1, "Lab"}, &FakeLibrary::testSiecFaults), false, false, false,
         ""},
        {"owner faults; the edition given before stays",
         Faulting({1, "Lab"}, &FakeLibrary::ownerFaults), false, true, true, ""},
        {"faults while unloading, not retried", Faulting({0, "Lab"}, &FakeLibrary::unloadFaults),
         false, false, true, "Lab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        FakeWizard probe;
        probe.registry.value = "C:\\T";
        probe.InstallHost("C:\\T", c.library);
        probe.Click(Widget::BitBtn2);
        EXPECT_EQ(probe.form.ComponentsFound, c.found);
        EXPECT_EQ(probe.form.NetworkEdition, c.network);
        EXPECT_EQ(probe.form.OwnerName.ToString(), c.owner);
        EXPECT_EQ(std::count(probe.log.begin(), probe.log.end(), "call Wlasciciel"), c.asksOwner);
        EXPECT_EQ(probe.libraries.bufferWasZeroed, c.asksOwner);
        EXPECT_EQ(probe.libraries.loads, std::vector<std::string>{"C:\\T\\KORDALIN.dll"});
        EXPECT_EQ(probe.libraries.frees, 1);
        EXPECT_EQ(probe.libraries.heldWhileAsked, c.library.testSiec.has_value());
        EXPECT_EQ(probe.form.ComponentLibrary, nullptr);
    }
}

}  // namespace
