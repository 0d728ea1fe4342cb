#pragma once

#include <string>

// The wizard's texts are Windows-1250 bytes; CR alone breaks their lines, never CR LF.
inline constexpr char CR = '\r';

// The caption of every message box and of the application's taskbar entry.
inline constexpr const char* ApplicationTitle = "Instalator";

// The folder part of a path: up to its last backslash; a root keeps its backslash ("D:\", "\").
// Empty when the path has no backslash.
inline std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('\\');
    if (slash == std::string::npos) return {};
    bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return path.substr(0, root ? slash + 1 : slash);
}
