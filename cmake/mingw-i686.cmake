# Cross build for 32-bit Windows with MinGW-w64; tests run under Wine through the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(MINGW_PREFIX i686-w64-mingw32)
# Debian ships the compiler twice, with the posix and with the win32 thread model; each is asked
# for by name, whatever the alternatives point at. posix unless a toolchain file including this
# one says otherwise (see mingw-i686-win32.cmake).
if(NOT MINGW_THREAD_MODEL)
    set(MINGW_THREAD_MODEL posix)
endif()
find_program(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-${MINGW_THREAD_MODEL} REQUIRED)
find_program(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-${MINGW_THREAD_MODEL} REQUIRED)
find_program(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_OBJDUMP ${MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

find_program(WINE_EXECUTABLE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})
