#pragma once

#include <string>

// Location from a folder chosen by hand: the path without one trailing backslash, so that a drive
// root "D:\" gives "D:" (the library path then reads "D:\KORDALIN.dll").
inline std::string ChosenLocation(const std::string& chosen) {
    if (!chosen.empty() && chosen.back() == '\\') return chosen.substr(0, chosen.size() - 1);
    return chosen;
}
