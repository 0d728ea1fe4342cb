#pragma once

// Runs the body of a callback from Windows (a window procedure, a dialog's callback, an
// enumeration callback). Nothing may be thrown back into Windows, which cannot unwind through its
// own frames: whatever escapes the body gives the fallback result instead.
template <typename Result, typename Body>
Result AtCallbackEdge(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}
