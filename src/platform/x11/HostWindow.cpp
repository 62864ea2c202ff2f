#include "platform/HostWindow.h"

#include <QSize>
#include <QWidget>
#include <QWindow>

#include <X11/Xlib.h>

namespace vz {

quintptr rootWindow()
{
    Display *d = XOpenDisplay(nullptr);
    if (!d)
        return 0;
    const quintptr root = DefaultRootWindow(d);
    XCloseDisplay(d);
    return root;
}

namespace {

int ignoreXErrors(Display *, XErrorEvent *) { return 0; }

// The host window's size in pixels, asked of the X server itself; empty when
// the window does not exist.
QSize hostSize(quintptr host)
{
    Display *d = XOpenDisplay(nullptr);
    if (!d)
        return {};
    auto *previous = XSetErrorHandler(ignoreXErrors);
    Window root = 0;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    const bool ok = XGetGeometry(d, Window(host), &root, &x, &y, &w, &h, &border, &depth);
    XSync(d, False);
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return ok ? QSize(int(w), int(h)) : QSize();
}

} // namespace

bool embedInto(QWidget &widget, quintptr host)
{
    const QSize size = hostSize(host);
    if (size.isEmpty())
        return false;
    QWindow *foreign = QWindow::fromWinId(WId(host));
    if (!foreign)
        return false;
    widget.setWindowFlags(Qt::FramelessWindowHint);
    widget.winId(); // creates the native window so it can be given a parent
    widget.windowHandle()->setParent(foreign);
    // Sizes are logical pixels; the host reports device pixels.
    widget.setGeometry(QRect(QPoint(0, 0), (QSizeF(size) / widget.devicePixelRatioF()).toSize()));
    return true;
}

} // namespace vz
