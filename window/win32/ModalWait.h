#pragma once

#include "platform/Waiting.h"
#include "window/win32/MainWindow.h"

// Runs the wizard's blocking work on a thread of its own while the window's thread waits the way
// a modal dialog's loop does: it keeps answering and painting, holds off input to the wizard and
// hands the work's steps for the window to the window as they come.
class ModalWait : public Waiting {
  public:
    explicit ModalWait(MainWindow& window) : window(window) {}
    void Run(Leaving leaving, FunctionRef<void(const ToWindow&)> work) override;

  private:
    MainWindow& window;
};
