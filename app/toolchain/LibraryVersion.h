// The files of this folder stand in for parts of the standard library to keep the executable
// small; each relies on how that library is built inside. They were written for, and measured
// with, the library of Debian 12's MinGW-w64 GCC 12, and stop any other build: on another
// library, build without them, measure, and keep only what still pays.
#pragma once

#include <bits/c++config.h>

#if !defined(__GLIBCXX__) || _GLIBCXX_RELEASE != 12 || __GLIBCXX__ != 20220819
#error \
    "app/toolchain/ was written for libstdc++ of GCC 12 (__GLIBCXX__ 20220819): check each file against this library (see LibraryVersion.h)"
#endif
