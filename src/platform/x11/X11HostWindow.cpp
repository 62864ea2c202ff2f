#include "platform/x11/X11HostWindow.h"

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <QWindow>

#include "platform/Logging.h"
#include "platform/x11/DestroyWatch.h"

// Xlib last: its macros (Bool, Status...) clash with Qt headers.
#include "platform/x11/XConnection.h"

namespace vz {

namespace {

// The host window's size in pixels, asked of the X server itself; empty when
// the window does not exist.
QSize hostSize(quintptr host)
{
    const x11::Connection display;
    if (!display) {
        qCWarning(lcPlatform) << "no X display to find host window" << host << "on";
        return {};
    }
    const x11::ErrorGuard guard(display.get());
    Window root = 0;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    const bool ok = XGetGeometry(display.get(), Window(host), &root, &x, &y, &w, &h, &border, &depth);
    return ok ? QSize(int(w), int(h)) : QSize();
}

// Qt's stand-in for the host window, owned by the embedded widget. It goes
// with the widget's children, before the widget's own window, which is still
// its child then: that window is taken off it first, so that it is not
// deleted twice.
class ForeignParent final : public QObject
{
public:
    ForeignParent(QWidget &widget, QWindow *foreign) : QObject(&widget), m_foreign(foreign)
    {
        m_child = widget.windowHandle();
    }
    ~ForeignParent() override
    {
        if (m_child && m_child->parent() == m_foreign)
            m_child->setParent(nullptr);
        delete m_foreign;
    }

private:
    QWindow *m_foreign;
    QPointer<QWindow> m_child;
};

} // namespace

quintptr X11HostWindow::rootWindow() const
{
    const x11::Connection display;
    return display ? quintptr(DefaultRootWindow(display.get())) : 0;
}

bool X11HostWindow::embed(QWidget &widget, quintptr host)
{
    const QSize size = host ? hostSize(host) : QSize();
    if (size.isEmpty())
        return false;
    QWindow *foreign = QWindow::fromWinId(WId(host));
    if (!foreign) {
        qCWarning(lcPlatform) << "Qt cannot take window" << host << "as a parent";
        return false;
    }
    widget.setWindowFlags(Qt::FramelessWindowHint);
    widget.winId(); // creates the native window so it can be given a parent
    widget.windowHandle()->setParent(foreign);
    new ForeignParent(widget, foreign);
    // Sizes are logical pixels; the host reports device pixels.
    widget.setGeometry(QRect(QPoint(0, 0), (QSizeF(size) / widget.devicePixelRatioF()).toSize()));
    if (!m_watch) {
        m_watch = new DestroyWatch(this);
        connect(m_watch, &DestroyWatch::windowDestroyed, this, &HostWindow::hostDestroyed);
    }
    m_watch->watch(host);
    return true;
}

} // namespace vz
