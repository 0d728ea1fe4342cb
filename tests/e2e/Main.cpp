#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

// The tests drive real windows, which need an X display; without one every test would only time
// out, so the run stops at once and says why.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wchar_t display[256] = {};
    if (::GetEnvironmentVariableW(L"DISPLAY", display, 256) == 0) {
        std::fprintf(stderr,
                     "e2e_tests: DISPLAY is not set. These tests drive the wizard's real window "
                     "and need an X server; run them under xvfb-run -a -s \"-screen 0 "
                     "1024x768x24\" ctest ...\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
