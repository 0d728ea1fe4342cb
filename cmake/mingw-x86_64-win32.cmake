# The 64-bit exe, built as the shipped one is (see mingw-i686-win32.cmake).
set(MINGW_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
