#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <string>

#include "platform/Failure.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Registry.h"

namespace {

const std::string TestKey = "Software\\InstalatorTests\\Registry";

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\InstalatorTests");
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\InstalatorTests\\Registry", 0,
                                    nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        // Gives back the rights a test may have taken away, so that the key can be deleted.
        PSECURITY_DESCRIPTOR open = nullptr;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                L"D:(A;;KA;;;WD)", SDDL_REVISION_1, &open, nullptr)) {
            UniqueLocalMemory owned(open);
            ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, open);
        }
        key.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\InstalatorTests");
    }

    void Store(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }
    void StoreText(const wchar_t* name, DWORD type, const std::wstring& text) {
        Store(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::optional<std::string> Read(const std::string& name) {
        return registry.ReadUserString(TestKey, name);
    }
    std::string ErrorOf(const std::string& name) {
        try {
            Read(name);
        } catch (const Failure& error) {
            return error.what();
        }
        return "no error";
    }

    UniqueRegistryKey key;
    Win32Registry registry;
};

TEST_F(RegistryTest, StringValuesComeBackAsStoredUpToTheFirstNul) {
    StoreText(L"Lokalizacja", REG_SZ, L"C:\\Program Files\\Tesmaren\\");
    StoreText(L"Polish", REG_SZ, L"D:\\Laboratorium Łódź\\Środowisko Żółć");
    StoreText(L"Expand", REG_EXPAND_SZ, L"%ProgramFiles%\\Tesmaren");
    Store(L"Empty", REG_SZ, nullptr, 0);
    StoreText(L"OnlyNul", REG_SZ, L"");
    Store(L"Unterminated", REG_SZ, L"C:\\Tes", 6 * sizeof(wchar_t));
    Store(L"OddSize", REG_SZ, L"C:\\Tesx", 6 * sizeof(wchar_t) + 1);
    Store(L"EmbeddedNul", REG_SZ, L"C:\\A\0C:\\B", 10 * sizeof(wchar_t));
    std::wstring longText(10000, L'x');
    longText[0] = L'Ś';
    longText.back() = L'ą';
    StoreText(L"Long", REG_SZ, longText);

    EXPECT_EQ(Read("Lokalizacja"), "C:\\Program Files\\Tesmaren\\");
    EXPECT_EQ(Read("lokalizacja"), "C:\\Program Files\\Tesmaren\\");
    EXPECT_EQ(Read("Polish"), "D:\\Laboratorium Łódź\\Środowisko Żółć");
    EXPECT_EQ(Read("Expand"), "%ProgramFiles%\\Tesmaren");
    EXPECT_EQ(Read("Empty"), "");
    EXPECT_EQ(Read("OnlyNul"), "");
    EXPECT_EQ(Read("Unterminated"), "C:\\Tes");
    EXPECT_EQ(Read("OddSize"), "C:\\Tes");
    EXPECT_EQ(Read("EmbeddedNul"), "C:\\A");
    std::optional<std::string> longValue = Read("Long");
    ASSERT_TRUE(longValue);
    EXPECT_EQ(longValue->size(), 10000u);
    EXPECT_EQ(longValue->front(), 'Ś');
    EXPECT_EQ(longValue->back(), 'ą');
    EXPECT_EQ(longValue->substr(1, 9998), std::string(9998, 'x'));
}

TEST_F(RegistryTest, ValuesOfOtherTypesAreErrorsNamingTheValue) {
    DWORD number = 1;
    Store(L"Lokalizacja", REG_DWORD, &number, sizeof number);
    Store(L"Binary", REG_BINARY, L"C:\\", 4 * sizeof(wchar_t));
    Store(L"Multi", REG_MULTI_SZ, L"C:\\\0\0", 5 * sizeof(wchar_t));
    Store(L"None", REG_NONE, nullptr, 0);

    EXPECT_EQ(ErrorOf("Lokalizacja"), "Invalid data type for 'Lokalizacja'");
    EXPECT_EQ(ErrorOf("Binary"), "Invalid data type for 'Binary'");
    EXPECT_EQ(ErrorOf("Multi"), "Invalid data type for 'Multi'");
    EXPECT_EQ(ErrorOf("None"), "Invalid data type for 'None'");
}

TEST_F(RegistryTest, MissingKeyOrValueIsNoValue) {
    StoreText(L"Other", REG_SZ, L"C:\\");
    EXPECT_EQ(Read("Lokalizacja"), std::nullopt);
    EXPECT_EQ(registry.ReadUserString("Software\\InstalatorTests\\Missing", "Lokalizacja"),
              std::nullopt);
    EXPECT_EQ(registry.ReadUserString("", "NoSuchValueAtTheRoot"), std::nullopt);
}

TEST_F(RegistryTest, KeyThatGrantsOnlyReadingIsRead) {
    StoreText(L"Lokalizacja", REG_SZ, L"C:\\Tesmaren");
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    UniqueLocalMemory owned(readOnly);
    ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);

    UniqueRegistryKey fullAccess;
    LONG full = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\InstalatorTests\\Registry", 0,
                                KEY_ALL_ACCESS, fullAccess.put());
    if (full == ERROR_SUCCESS) GTEST_SKIP() << "this system does not enforce registry key ACLs";

    EXPECT_EQ(Read("Lokalizacja"), "C:\\Tesmaren");
}

}  // namespace
