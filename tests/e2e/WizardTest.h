#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"
#include "tests/support/BuildOutputs.h"

// Enabled states of "<< Cofnij", "Dalej >>" and "Anuluj".
struct NavigationStates {
    bool back, next, cancel;
    bool operator==(const NavigationStates& other) const {
        return back == other.back && next == other.next && cancel == other.cancel;
    }
};
void PrintTo(const NavigationStates& states, std::ostream* out);

// Each test gets its own folder on the system drive and its own, freshly removed
// HKCU\KvTesmaren; both are cleaned up again, and the wizard never outlives the test.
class WizardTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // All paths are Windows-1250, as the wizard shows them.
    const std::string& Root() const { return root; }
    // A host program folder under Root(): the named fixture library copied in as KORDALIN.dll
    // (none when fixture is empty), and SZABLONY\ when templates is true.
    std::string MakeHost(const std::string& name, const std::string& fixture,
                         bool templates = true);
    // A copy of the wizard in the given folder, so that it is the installer's own folder.
    std::string CopyInstallerTo(const std::string& folder);

    void SetLocation(const std::string& value);  // REG_SZ
    void SetLocationDword(DWORD value);
    bool RegistryKeyExists() const;

    // Starts the wizard (by default the built one, in Root()) and waits for its window.
    e2e::Wizard Start(const std::string& exe = "");
    // Starts it with `location` in the registry and takes it to page 2, whose search it waits
    // out (a wizard whose window never appeared is returned as it is).
    e2e::Wizard StartOnSearchPage(const std::string& location, const std::string& exe = "");
    e2e::Process process;

    // Waits until the wizard's thread has finished what it was doing (or sits in a modal box).
    static void Settle(const e2e::Wizard& wizard);
    // Clicks Next (or Back) and waits until the page changed and its handlers ran.
    static void Next(const e2e::Wizard& wizard, int expectedPage);
    static void Back(const e2e::Wizard& wizard, int expectedPage);
    // The process ends by itself within the timeout, with exit code 0.
    void ExpectCleanExit();

    static NavigationStates States(const e2e::Wizard& wizard);

  public:
    static std::optional<std::string> ReadFileBytes(const std::string& path);
    static void WriteFileBytes(const std::string& path, const std::string& bytes);
    static bool Exists(const std::string& path);

  private:
    std::string root;
};

// Texts the wizard shows in more than one place.
inline const char* const MissingComponentsMessage =
    "Nie odnaleziono potrzebnych składników programu, skontaktuj się ze sprzedawcą. Nastąpi "
    "zamknięcie instalatora.";
inline const char* const InstallPrompt =
    "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.";
inline const char* const NetworkOwner = "Laboratorium Badań Środowiska Łódź";
inline const char* const SingleStationOwner = "Pracownia Pomiarów Gdańsk";
