#include <algorithm>
#include <set>

#include "platform/win32/Text.h"
#include "tests/e2e/WizardTest.h"
#include "tests/support/TemplateNames.h"

// An installer is started from a Downloads folder where a web page can drop any file. These tests
// plant a stand-in, under the name of every DLL that the wizard loads and that is not one of
// Windows' known DLLs, beside the installer; each stand-in logs its own path when it is loaded.
// Wine finds a DLL by the application's folder first only when told to prefer native DLLs for that
// name, which is what Windows' search order does for any DLL that is not a known one, so the tests
// tell it so for every planted name.
namespace {

using namespace std::chrono_literals;
using DllPlanting = WizardTest;

// Names that Wine loads from the folder of any program, even one that restricts its search to the
// system folder first thing and does nothing else: dependencies of the known DLLs, which Windows
// takes from its known-DLL section and Wine has no such section for, or Wine's own helpers. That
// is Wine's business, not the wizard's; the first test shows it with such a minimal program.
const std::set<std::string> LoadedByWineForAnyProgram = {
    "combase.dll",  "kernelbase.dll", "sechost.dll", "shcore.dll",
    "ucrtbase.dll", "version.dll",    "win32u.dll",  "zlib1.dll",
};

std::string ToLower(std::string text) {
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string PlantedDir() {
    std::string dir = PLANTED_DIR;
    std::replace(dir.begin(), dir.end(), '/', '\\');
    return dir;
}

std::set<std::string> PlantableNames() {
    std::set<std::string> names;
    for (const std::string& name : Listing(PlantedDir())) names.insert(ToLower(name));
    return names;
}

// Sets an environment variable of this process, which the programs it starts inherit, for the
// scope's lifetime.
class EnvironmentScope {
  public:
    EnvironmentScope(const wchar_t* name, const std::wstring& value) : name(name) {
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~EnvironmentScope() { ::SetEnvironmentVariableW(name, nullptr); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

  private:
    const wchar_t* name;
};

// Copies the stand-ins into the folder and names the log they write to.
class Planting {
  public:
    Planting(const std::string& folder, const std::set<std::string>& names, const std::string& log)
        : logFile(L"PLANTED_DLL_LOG", Widen(log)) {
        for (const std::string& name : names)
            EXPECT_TRUE(::CopyFileW(Widen(PlantedDir() + "\\" + name).c_str(),
                                    Widen(folder + "\\" + name).c_str(), FALSE))
                << name;
    }

  private:
    EnvironmentScope logFile;
};

// Wine takes the load order of a process's first DLLs from the environment it was started in,
// not from one that a parent program changes, so the preference is set for the whole run (by
// ctest); every planted name must be in it.
std::string MissingOverrides() {
    wchar_t value[4096] = {};
    std::string overrides = ToLower(
        Narrow(std::wstring(value, ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", value, 4096))));
    std::string missing;
    for (const std::string& name : PlantableNames())
        if (overrides.find(name) == std::string::npos) missing += name + " ";
    return missing;
}

// The paths the stand-ins logged, one a line (the log is UTF-16).
std::string LoadedStandIns(const std::string& log) {
    std::optional<std::string> bytes = WizardTest::ReadFileBytes(log);
    if (!bytes) return {};
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    std::copy(bytes->begin(), bytes->begin() + text.size() * sizeof(wchar_t),
              reinterpret_cast<char*>(text.data()));
    return Narrow(text);
}

// One name at a time beside the minimal program: loaded from there, the stand-in either logs
// itself or, standing in for a DLL the process cannot start without, stops it.
TEST_F(DllPlanting, AMinimalProgramWithARestrictedSearchStillGetsWinesOwnHelpersFromItsFolder) {
    ASSERT_EQ(MissingOverrides(), "") << "not preferred native in WINEDLLOVERRIDES";
    std::string folder = Root() + "\\Minimal";
    ASSERT_TRUE(::CreateDirectoryW(Widen(folder).c_str(), nullptr));
    std::string exe = folder + "\\Minimal.exe";
    ASSERT_TRUE(::CopyFileW(Widen(MINIMAL_EXE).c_str(), Widen(exe).c_str(), FALSE));

    std::set<std::string> loadedFromFolder;
    for (const std::string& name : PlantableNames()) {
        std::string log = Root() + "\\minimal-" + name + ".log";
        {
            Planting planting(folder, {name}, log);
            e2e::Process minimal(Widen(exe), Widen(folder));
            DWORD exitCode = 0;
            ASSERT_TRUE(minimal.WaitForExit(exitCode)) << name << ": the minimal program hangs";
            if (exitCode != 0 || !LoadedStandIns(log).empty()) loadedFromFolder.insert(name);
        }
        ::DeleteFileW(Widen(folder + "\\" + name).c_str());
    }
    EXPECT_EQ(loadedFromFolder, LoadedByWineForAnyProgram);
}

class DllPlantingWalk : public WizardTest {
  protected:
    void WalkByRegistry(const std::string& host, const std::string& downloads) {
        e2e::Wizard wizard = StartOnSearchPage(host, CopyInstallerTo(downloads));
        ASSERT_NE(wizard.Handle(), nullptr);
        EXPECT_EQ(wizard.Text(Widget::StaticText3).rfind("Odnaleziono wersję sieciową", 0), 0u)
            << wizard.Text(Widget::StaticText3);
        Next(wizard, 2);
        EXPECT_EQ(Listing(host + "\\SZABLONY"), TemplateNames());
        wizard.Click(Widget::BitBtn4);
        ExpectCleanExit();
    }

    // The chooser opens on the installer's own folder, which here is the host's.
    void WalkByChooser(const std::string& host) {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"KvTesmaren");
        e2e::Wizard wizard = Start(CopyInstallerTo(host));
        ASSERT_NE(wizard.Handle(), nullptr);
        Next(wizard, 1);
        wizard.Click(Widget::BitBtn5);
        HWND chooser = e2e::WaitForFolderChooser(process);
        ASSERT_NE(chooser, nullptr) << "no folder chooser";
        EXPECT_TRUE(
            e2e::WaitUntil([&] { return e2e::FolderChooserSelection(chooser) == "Tesmaren"; }, 3s));
        ASSERT_TRUE(e2e::PressOk(chooser));
        ASSERT_TRUE(e2e::WaitUntil([&] { return wizard.Enabled(Widget::BitBtn2); }))
            << wizard.Text(Widget::StaticText3);
        Next(wizard, 2);
        wizard.Click(Widget::BitBtn4);
        ExpectCleanExit();
    }
};

// Start, page 2 by the registry, installation, close; then start, page 2 by the folder chooser,
// installation, close: the stand-ins beside the installer are never loaded.
TEST_F(DllPlantingWalk, LoadsNothingFromTheInstallersFolder) {
    ASSERT_EQ(MissingOverrides(), "") << "not preferred native in WINEDLLOVERRIDES";
    std::set<std::string> names = PlantableNames();
    for (const std::string& wine : LoadedByWineForAnyProgram) names.erase(wine);
    ASSERT_TRUE(names.count("uxtheme.dll") && names.count("msimg32.dll")) << PlantedDir();
    std::string log = Root() + "\\planted.log";
    std::string host = MakeHost("Tesmaren", "network");
    std::string downloads = Root() + "\\Pobrane";
    ASSERT_TRUE(::CreateDirectoryW(Widen(downloads).c_str(), nullptr));
    {
        SCOPED_TRACE("by the registry");
        Planting planting(downloads, names, log);
        WalkByRegistry(host, downloads);
    }
    EXPECT_EQ(LoadedStandIns(log), "") << "by the registry";
    ::DeleteFileW(Widen(log).c_str());
    {
        SCOPED_TRACE("by the folder chooser");
        Planting planting(host, names, log);
        WalkByChooser(host);
    }
    EXPECT_EQ(LoadedStandIns(log), "") << "by the folder chooser";
}

}  // namespace
