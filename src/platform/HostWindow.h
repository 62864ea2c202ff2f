#pragma once
// Windows of other programs that the show can draw into: a screen-saver
// daemon's window, or the root window.

#include <QObject>

class QWidget;

namespace vz {

class HostWindow : public QObject
{
    Q_OBJECT
public:
    // The root window of the default screen; 0 without a display.
    virtual quintptr rootWindow() const = 0;
    // Makes widget a child of the foreign window host, covering it; what the
    // embedding holds is released with the widget. False, and widget left as
    // it was, when the host window does not exist (0 never does).
    [[nodiscard]] virtual bool embed(QWidget &widget, quintptr host) = 0;

Q_SIGNALS:
    // A window that embed() took has been destroyed, and the show's window
    // inside it with it: its daemon is done with the show (a screen saver
    // that stops, a locker whose monitors changed). Also emitted, from the
    // event loop, when the host went in the moment it was taken.
    void hostDestroyed(quintptr host);
};

} // namespace vz
