#pragma once

#include <cstdlib>
#include <string>

#include "tests/support/TestFolders.h"

// What the build hands the tests (INSTALATOR_EXE, FIXTURE_DIR, PAYLOAD_DIR are Unix paths), as
// Windows paths.

// The built installer, or the copy the environment's INSTALATOR_EXE names, such as a signed one.
inline std::string InstallerPath() {
    const char* other = std::getenv("INSTALATOR_EXE");
    return WindowsPath(other && *other ? other : INSTALATOR_EXE);
}
inline std::string FixturePath(const std::string& name) {
    return WindowsPath(std::string(FIXTURE_DIR) + "/fixture_" + name + ".dll");
}
inline std::string PayloadPath(const std::string& fileName) {
    return WindowsPath(std::string(PAYLOAD_DIR) + "/" + fileName);
}
