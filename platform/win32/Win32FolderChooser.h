#pragma once

#include <windows.h>

#include "platform/FolderChooser.h"

class Win32FolderChooser : public FolderChooser {
  public:
    // The chooser belongs to this window and disables the application while it is open.
    void SetOwner(HWND owner) { this->owner = owner; }
    std::optional<std::string> Choose(const std::string& title,
                                      const std::string& initialFolder) override;

  private:
    HWND owner = nullptr;
};
