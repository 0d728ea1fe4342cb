#pragma once

#include <string>
#include <vector>

#include "install/PayloadTable.h"

// The six templates' file names in SZABLONY, in installation order (which is also their sorted
// order).
inline std::vector<std::string> TemplateNames() {
    std::vector<std::string> names;
    for (const PayloadEntry& entry : PayloadTable) {
        std::string path = entry.relativePath;
        names.push_back(path.substr(path.rfind('\\') + 1));
    }
    return names;
}
