#pragma once

#include <optional>
#include <string>

#include "wizard/CountedString.h"
#include "platform/FunctionRef.h"
#include "platform/Libraries.h"

// What the component library answered; an export it lacks leaves its answer out.
struct ProbeAnswers {
    bool found = false;
    std::optional<bool> networkEdition;
    std::optional<CountedString> ownerName;
};

// Loads the component library at `path`, asks it for the edition and the owner, and releases it
// again, exactly once when it was loaded. `holding` hears the handle once loaded and nothing once
// released. A fault inside the library, while asked or while unloading, means not found.
ProbeAnswers AskComponentLibrary(Libraries& libraries, const std::string& path,
                                 FunctionRef<void(LibraryHandle)> holding);
