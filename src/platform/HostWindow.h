#pragma once
// Windows of other programs that the show can draw into: a screen-saver
// daemon's window, or the root window.

#include <QtGlobal>

class QWidget;

namespace vz {

class HostWindow
{
public:
    virtual ~HostWindow() = default;
    // The root window of the default screen; 0 without a display.
    virtual quintptr rootWindow() const = 0;
    // Makes widget a child of the foreign window host, covering it; what the
    // embedding holds is released with the widget. False, and widget left as
    // it was, when the host window does not exist (0 never does).
    [[nodiscard]] virtual bool embed(QWidget &widget, quintptr host) = 0;
};

} // namespace vz
