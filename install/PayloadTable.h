#pragma once

#include <array>

// One payload of the overlay: the resource that holds it and where it goes under Location.
struct PayloadEntry {
    const char* resourceName;
    const char* relativePath;
};

// In installation order.
inline constexpr std::array<PayloadEntry, 6> PayloadTable = {{
    {"Plik7T", "\\SZABLONY\\Kolwenta3A.rtf"},
    {"Plik8T", "\\SZABLONY\\Kolwenta3B.rtf"},
    {"Plik9T", "\\SZABLONY\\Kolwenta3C.rtf"},
    {"Plik10T", "\\SZABLONY\\Kolwenta3CC.rtf"},
    {"Plik11T", "\\SZABLONY\\Kolwenta3CCC.rtf"},
    {"Plik12T", "\\SZABLONY\\Kolwenta3CZ.rtf"},
}};
