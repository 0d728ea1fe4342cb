#pragma once

#include <optional>

#include "wizard/CountedString.h"

// What the component library answered; an export it lacks leaves its answer out.
struct ProbeAnswers {
    bool found = false;
    std::optional<bool> networkEdition;
    std::optional<CountedString> ownerName;
};
