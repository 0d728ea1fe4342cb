#pragma once

#include <optional>
#include <string>

// The system's modal folder chooser, owned by the main window.
class FolderChooser {
  public:
    virtual ~FolderChooser() = default;

    // Shows the chooser with `title` above the tree and `initialFolder` selected when it exists.
    // Returns the chosen folder's full path, or nothing when the user cancels.
    virtual std::optional<std::string> Choose(const std::string& title,
                                              const std::string& initialFolder) = 0;
};
