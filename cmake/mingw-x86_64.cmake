# The same sources for 64-bit Windows, where the tests run on hosts that cannot run 32-bit
# programs; the shipped exe stays 32-bit.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
