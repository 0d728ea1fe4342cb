#pragma once

// The folder part of a path (Windows-1250 or UTF-16): up to its last backslash; a root keeps its
// backslash ("D:\", "\"). Empty when the path has no backslash.
template <typename String>
String FolderOf(const String& path) {
    using Char = typename String::value_type;
    typename String::size_type slash = path.rfind(Char('\\'));
    if (slash == String::npos) return {};
    bool root = slash == 0 || (slash == 2 && path[1] == Char(':'));
    return path.substr(0, root ? slash + 1 : slash);
}
