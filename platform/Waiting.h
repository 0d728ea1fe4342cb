#pragma once

#include "platform/FunctionRef.h"

// What comes out of a wait whose work let something escape: an error the wizard cannot name.
struct WorkEscaped {};

// Work that may block for long (foreign code, a shared folder that another installer holds) runs
// away from the window while the window stays in charge: it keeps answering and painting, and no
// input reaches the wizard's handlers until the work has ended.
class Waiting {
  public:
    virtual ~Waiting() = default;

    // During a search the user may still leave (at once, without waiting for the work); during an
    // installation leaving waits until the work has ended, so that nothing stops half-way.
    enum class Leaving { AtOnce, AfterWork };

    // Runs a step on the window's thread and returns when it has run.
    using ToWindow = FunctionRef<void(FunctionRef<void()> step)>;

    // Runs `work` to its end and returns then. The work's failures are answers it returns; should
    // anything escape it (memory running out), Run throws WorkEscaped. The work must not touch the
    // window or the wizard's state itself: it hands such steps to `toWindow`.
    virtual void Run(Leaving leaving, FunctionRef<void(const ToWindow& toWindow)> work) = 0;
};
