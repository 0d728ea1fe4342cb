#include "tests/e2e/WizardTest.h"

#include <cstdlib>
#include <ostream>

#include "platform/win32/Text.h"

namespace {

const wchar_t* const HostKey = L"KvTesmaren";

std::string SafeName(std::string name) {
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
    return name;
}

void DeleteHostKey() {
    ::RegDeleteKeyW(HKEY_CURRENT_USER, HostKey);
}

UniqueRegistryKey CreateHostKey() {
    UniqueRegistryKey key;
    LONG status = ::RegCreateKeyExW(HKEY_CURRENT_USER, HostKey, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, key.put(), nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << "cannot create HKCU\\KvTesmaren";
    return key;
}

}  // namespace

void PrintTo(const NavigationStates& states, std::ostream* out) {
    auto word = [](bool enabled) { return enabled ? "enabled" : "disabled"; };
    *out << "{Back " << word(states.back) << ", Next " << word(states.next) << ", Cancel "
         << word(states.cancel) << "}";
}

void WizardTest::SetUp() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // On the system drive, not in the profile's Temp: Wine's folder chooser does not always
    // manage to expand its way through the profile's special folders to a preselected one.
    wchar_t windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    root = Narrow(std::wstring(windows, 3)) + "e2e-" +
           SafeName(std::string(test->test_suite_name()) + "-" + test->name());
    RemoveTree(Widen(root));
    ASSERT_TRUE(::CreateDirectoryW(Widen(root).c_str(), nullptr)) << root;
    DeleteHostKey();
}

void WizardTest::TearDown() {
    process.Kill();
    DeleteHostKey();
    RemoveTree(Widen(root));
}

std::string WizardTest::MakeHost(const std::string& name, const std::string& fixture,
                                 bool templates) {
    std::string host = root + "\\" + name;
    EXPECT_TRUE(::CreateDirectoryW(Widen(host).c_str(), nullptr)) << host;
    if (!fixture.empty()) {
        EXPECT_TRUE(::CopyFileW(Widen(FixturePath(fixture)).c_str(),
                                Widen(host + "\\KORDALIN.dll").c_str(), FALSE))
            << "cannot copy " << FixturePath(fixture);
    }
    if (templates) {
        EXPECT_TRUE(::CreateDirectoryW(Widen(host + "\\SZABLONY").c_str(), nullptr));
    }
    return host;
}

std::string WizardTest::CopyInstallerTo(const std::string& folder) {
    std::string copy = folder + "\\Instalator.exe";
    EXPECT_TRUE(::CopyFileW(Widen(InstallerPath()).c_str(), Widen(copy).c_str(), FALSE))
        << "cannot copy " << InstallerPath();
    return copy;
}

void WizardTest::SetLocation(const std::string& value) {
    UniqueRegistryKey key = CreateHostKey();
    std::wstring data = Widen(value);
    EXPECT_EQ(::RegSetValueExW(key.get(), L"Lokalizacja", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void WizardTest::SetLocationDword(DWORD value) {
    UniqueRegistryKey key = CreateHostKey();
    EXPECT_EQ(::RegSetValueExW(key.get(), L"Lokalizacja", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
}

bool WizardTest::RegistryKeyExists() const {
    UniqueRegistryKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, HostKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

e2e::Wizard WizardTest::Start(const std::string& exe) {
    std::string path = exe.empty() ? InstallerPath() : exe;
    process = e2e::Process(Widen(path), Widen(root));
    e2e::Wizard wizard = e2e::Wizard::Attach(process);
    EXPECT_NE(wizard.Handle(), nullptr)
        << "no main window captioned \"" << e2e::Wizard::Title << "\" appeared";
    // The pages after the first are made unasked, just after the wizard is first ready for
    // input; the tests look at every widget.
    if (wizard.Handle()) {
        EXPECT_TRUE(e2e::WaitUntil([&] {
            for (const WidgetRow& row : MainWindowLayout)
                if (!wizard.Window(row.name)) return false;
            return true;
        })) << "the pages after the first were not made";
    }
    return wizard;
}

e2e::Wizard WizardTest::StartOnSearchPage(const std::string& location, const std::string& exe) {
    SetLocation(location);
    e2e::Wizard wizard = Start(exe);
    if (wizard.Handle()) Next(wizard, 1);
    return wizard;
}

// While the wizard waits for its work it keeps answering but greys every button that acts on it;
// afterwards one of them is always usable, unless a message box has the word or the window is
// gone.
void WizardTest::Settle(const e2e::Wizard& wizard) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(wizard.Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    e2e::WaitUntil([&] {
        DWORD process = 0;
        ::GetWindowThreadProcessId(wizard.Handle(), &process);
        return !::IsWindow(wizard.Handle()) || wizard.Enabled(Widget::BitBtn1) ||
               wizard.Enabled(Widget::BitBtn2) || wizard.Enabled(Widget::BitBtn4) ||
               e2e::FindTopLevel(process, L"#32770", nullptr);
    });
}

void WizardTest::Next(const e2e::Wizard& wizard, int expectedPage) {
    wizard.Click(Widget::BitBtn2);
    EXPECT_TRUE(wizard.WaitForPage(expectedPage)) << "page " << expectedPage << " not shown";
    Settle(wizard);
}

void WizardTest::Back(const e2e::Wizard& wizard, int expectedPage) {
    wizard.Click(Widget::BitBtn1);
    EXPECT_TRUE(wizard.WaitForPage(expectedPage)) << "page " << expectedPage << " not shown";
    Settle(wizard);
}

void WizardTest::ExpectCleanExit() {
    DWORD exitCode = 0xDEAD;
    ASSERT_TRUE(process.WaitForExit(exitCode)) << "the wizard did not end";
    EXPECT_EQ(exitCode, 0u);
}

NavigationStates WizardTest::States(const e2e::Wizard& wizard) {
    return {wizard.Enabled(Widget::BitBtn1), wizard.Enabled(Widget::BitBtn2),
            wizard.Enabled(Widget::BitBtn3)};
}

std::optional<std::string> WizardTest::ReadFileBytes(const std::string& path) {
    UniqueFile file(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

void WizardTest::WriteFileBytes(const std::string& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file &&
                ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) &&
                written == bytes.size())
        << path;
}

bool WizardTest::Exists(const std::string& path) {
    return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
