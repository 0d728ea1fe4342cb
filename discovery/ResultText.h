#pragma once

#include <string>

// Lines of the search result that the registry search and the manual choice share.
inline std::string EditionLine(bool networkEdition) {
    return networkEdition ? "Odnaleziono wersję sieciową programu \"Tesmaren\"."
                          : "Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".";
}

inline const char* const InstallPrompt =
    "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.";
