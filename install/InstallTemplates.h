#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/Files.h"
#include "platform/FunctionRef.h"
#include "platform/Resources.h"

// How an installation ended, and the payload table's entry it was at when it stopped: none when
// it stopped before the first, or when it succeeded.
struct InstallOutcome {
    bool installed = false;
    std::optional<std::size_t> stoppedAt;
};

// Writes the six payloads into `location` as one set: they change together or not at all.
// `showing` hears each entry as its file is taken on. Every failure is caught here.
InstallOutcome InstallTemplates(Resources& resources, Files& files, const std::string& location,
                                FunctionRef<void(std::size_t)> showing);
