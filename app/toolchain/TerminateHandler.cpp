// The library's default terminate handler demangles the exception's type name for a console this
// GUI program does not have, and brings some 45 KB of demangler with it. This definition takes
// the place of the library's (it is linked as an object, ahead of the library).
#include <cstdlib>

#include "LibraryVersion.h"

namespace __gnu_cxx {
// NOLINTNEXTLINE(bugprone-reserved-identifier): the library's own name, replaced on purpose.
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
