#pragma once

#include <string>

#include "window/Widget.h"

// What the wizard's handlers may do to the window, and nothing more. Texts are Windows-1250
// bytes with CR (0x0D) line breaks; the surface converts them for display.
class Surface {
  public:
    virtual ~Surface() = default;

    virtual void SetText(Widget widget, const std::string& text) = 0;
    virtual std::string Text(Widget widget) const = 0;
    virtual void SetEnabled(Widget widget, bool enabled) = 0;
    // Pages (TabSheet1..3) are shown and hidden through this too; which handler runs when is
    // decided by TForm1, not by the surface.
    virtual void SetVisible(Widget widget, bool visible) = 0;

    virtual int Tag(Widget widget) const = 0;
    virtual void SetTag(Widget widget, int tag) = 0;

    // Modal box, captioned with the application's title, no icon, one OK; returns when the user
    // has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
    // The application's top-level error box: the same with an error icon.
    virtual void ShowErrorBox(const std::string& text) = 0;

    // Queues the request to quit; the caller runs on to its end.
    virtual void Close() = 0;

    // Full path of the running installer.
    virtual std::string OwnPath() const = 0;
};
