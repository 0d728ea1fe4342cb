# The compiler of the shipped exe: MinGW-w64 with the win32 thread model, whose runtime needs no
# POSIX threads layer. GCC 12's has no std::thread or std::mutex, so GoogleTest and the tests are
# built with the posix one (mingw-i686.cmake).
set(MINGW_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
