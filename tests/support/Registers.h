#pragma once

// The registers the guarded calls must leave as they found them, read the way this architecture
// has them.
#if defined(__i386__)
#include "tests/support/i386/Registers.h"
#else
#include "tests/support/x86_64/Registers.h"
#endif
