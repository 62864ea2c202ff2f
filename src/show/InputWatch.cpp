#include "show/InputWatch.h"

#include <QEvent>
#include <QWidget>

namespace vz {

void InputWatch::watch(QWidget &surface)
{
    surface.installEventFilter(this);
}

bool InputWatch::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Q_EMIT clicked();
        return true;
    case QEvent::KeyPress:
        Q_EMIT keyPressed();
        return true;
    case QEvent::MouseMove:
        Q_EMIT mouseMoved();
        return true;
    default:
        return false;
    }
}

} // namespace vz
