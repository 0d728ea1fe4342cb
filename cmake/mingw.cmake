# Cross build for Windows with MinGW-w64; tests run under Wine through the emulator. Included by
# a toolchain file that sets MINGW_ARCH (i686 or x86_64) and may set MINGW_THREAD_MODEL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})

set(MINGW_PREFIX ${MINGW_ARCH}-w64-mingw32)
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

# 32-bit programs run under the loader that /usr/bin/wine picks; 64-bit ones under the 64-bit
# loader itself, since the wrapper picks the 32-bit one whenever it is installed, even on a kernel
# that cannot run it.
if(MINGW_ARCH STREQUAL "x86_64")
    find_program(WINE_EXECUTABLE wine64 PATHS /usr/lib/wine /opt/wine-stable/bin REQUIRED)
    set(WINE_ARCH win64)
else()
    find_program(WINE_EXECUTABLE wine REQUIRED)
    set(WINE_ARCH win32)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})
