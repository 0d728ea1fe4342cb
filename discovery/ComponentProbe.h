#pragma once

#include <atomic>
#include <string>

#include "platform/Libraries.h"
#include "wizard/ProbeAnswers.h"

// Loads the component library at `path`, asks it for the edition and the owner, and releases it
// again, exactly once when it was loaded. `held` is the handle while the library is loaded and
// none otherwise. A fault inside the library, while asked or while unloading, means not found.
ProbeAnswers AskComponentLibrary(Libraries& libraries, const std::string& path,
                                 std::atomic<LibraryHandle>& held);
