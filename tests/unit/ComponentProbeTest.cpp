#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

// The probe is private; page 2 runs it on the registry's folder, so the tests go through there.
struct Probe : FakeWizard {
    void Run(const std::string& location) {
        registry.value = location;
        Click(Widget::BitBtn2);
    }
};

TEST(ComponentProbe, AnsweringLibraryGivesEditionAndOwnerAndIsReleasedOnce) {
    Probe probe;
    probe.InstallHost("C:\\Tesmaren", FakeLibrary{7, "Pracownia Łódź"});
    probe.Run("C:\\Tesmaren");
    EXPECT_TRUE(probe.form.ComponentsFound);
    EXPECT_TRUE(probe.form.NetworkEdition) << "any nonzero byte is true";
    EXPECT_EQ(probe.form.OwnerName.ToString(), "Pracownia Łódź");
    EXPECT_TRUE(probe.libraries.bufferWasZeroed);
    EXPECT_EQ(probe.libraries.loads, std::vector<std::string>{"C:\\Tesmaren\\KORDALIN.dll"});
    EXPECT_EQ(probe.libraries.frees, 1);
    EXPECT_EQ(probe.libraries.loaded, 0);
    EXPECT_EQ(probe.form.ComponentLibrary, nullptr);
}

TEST(ComponentProbe, PathIsLocationPlusBackslashWithoutNormalising) {
    for (auto [location, path] : {std::pair<std::string, std::string>{"", "\\KORDALIN.dll"},
                                  {"D:", "D:\\KORDALIN.dll"},
                                  {"C:\\Tesmaren\\", "C:\\Tesmaren\\\\KORDALIN.dll"}}) {
        Probe probe;
        probe.Run(location);
        EXPECT_EQ(probe.libraries.loads, std::vector<std::string>{path});
        EXPECT_FALSE(probe.form.ComponentsFound);
        EXPECT_EQ(probe.libraries.frees, 0) << "nothing loaded, nothing released";
    }
}

TEST(ComponentProbe, MissingExportsLeaveTheirFieldsAndStillCountAsFound) {
    Probe probe;
    probe.InstallHost("C:\\T", FakeLibrary{std::nullopt, "Tylko właściciel"});
    probe.Run("C:\\T");
    EXPECT_TRUE(probe.form.ComponentsFound);
    EXPECT_FALSE(probe.form.NetworkEdition);
    EXPECT_EQ(probe.form.OwnerName.ToString(), "Tylko właściciel");

    Probe none;
    none.InstallHost("C:\\T", FakeLibrary{});
    none.Run("C:\\T");
    EXPECT_TRUE(none.form.ComponentsFound);
    EXPECT_EQ(none.form.OwnerName.ToString(), "");
    EXPECT_EQ(none.libraries.frees, 1);
}

TEST(ComponentProbe, FaultInAnExportMeansNotFoundSkipsTheRestAndReleasesOnce) {
    FakeLibrary faultyEdition{1, "Lab"};
    faultyEdition.testSiecFaults = true;
    Probe probe;
    probe.InstallHost("C:\\T", faultyEdition);
    probe.Run("C:\\T");
    EXPECT_FALSE(probe.form.ComponentsFound);
    EXPECT_EQ(std::count(probe.log.begin(), probe.log.end(), "call Wlasciciel"), 0);
    EXPECT_EQ(probe.libraries.frees, 1);
    EXPECT_EQ(probe.form.ComponentLibrary, nullptr);

    FakeLibrary faultyOwner{1, "Lab"};
    faultyOwner.ownerFaults = true;
    Probe second;
    second.InstallHost("C:\\T", faultyOwner);
    second.Run("C:\\T");
    EXPECT_FALSE(second.form.ComponentsFound);
    EXPECT_TRUE(second.form.NetworkEdition) << "the answer given before the fault stays";
    EXPECT_EQ(second.libraries.frees, 1);
}

TEST(ComponentProbe, FaultWhileUnloadingMeansNotFoundAndIsNotRetried) {
    FakeLibrary library{0, "Lab"};
    library.unloadFaults = true;
    Probe probe;
    probe.InstallHost("C:\\T", library);
    probe.Run("C:\\T");
    EXPECT_FALSE(probe.form.ComponentsFound);
    EXPECT_EQ(probe.libraries.frees, 1);
    EXPECT_EQ(probe.form.ComponentLibrary, nullptr);
}

TEST(ComponentProbe, OwnerNameOfEveryLengthIsStoredWhole) {
    for (std::size_t length : {0u, 1u, 254u, 255u}) {
        Probe probe;
        probe.InstallHost("C:\\T", FakeLibrary{0, std::string(length, '\xB3')});
        probe.Run("C:\\T");
        EXPECT_EQ(probe.form.OwnerName.ToString(), std::string(length, '\xB3'));
        EXPECT_EQ(probe.form.OwnerName.Length(), length);
    }
}

}  // namespace
