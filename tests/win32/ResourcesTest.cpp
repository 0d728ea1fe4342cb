#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Failure.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Resources.h"
#include "tests/support/BuildOutputs.h"

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class ResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installer.reset(
            ::LoadLibraryExW(Widen(InstallerPath()).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(installer) << "cannot open " << InstallerPath();
    }

    UniqueModule installer;
};

TEST_F(ResourcesTest, EveryPayloadIsTheFileItWasBuiltFrom) {
    Win32Resources resources(installer.get());
    const char* const payloads[][2] = {
        {"Plik7T", "Kolwenta3A.rtf"},    {"Plik8T", "Kolwenta3B.rtf"},
        {"Plik9T", "Kolwenta3C.rtf"},    {"Plik10T", "Kolwenta3CC.rtf"},
        {"Plik11T", "Kolwenta3CCC.rtf"}, {"plik12t", "Kolwenta3CZ.rtf"},
    };
    for (const auto& [name, file] : payloads) {
        SCOPED_TRACE(name);
        std::string expected = FileBytes(PayloadPath(file));
        ASSERT_FALSE(expected.empty());
        Payload payload = resources.Open(name);
        ASSERT_NE(payload.data, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(payload.data), payload.size), expected);
    }
}

TEST_F(ResourcesTest, AMissingPayloadIsAnErrorNamingIt) {
    Win32Resources resources(installer.get());
    for (const char* name : {"PLIK99T", "Kolwenta3A.rtf", ""}) {
        try {
            resources.Open(name);
            ADD_FAILURE() << name << " was found";
        } catch (const Failure& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Resource ") + name + " not found");
        }
    }
    // The test program itself carries no payloads.
    EXPECT_THROW(Win32Resources().Open("PLIK7T"), Failure);
}

}  // namespace
