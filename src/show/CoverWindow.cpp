#include "show/CoverWindow.h"

#include <QScreen>

namespace vz {

void makeShowSurface(QWidget &window, const QString &caption)
{
    window.setWindowTitle(caption);
    window.setAutoFillBackground(true);
    QPalette p = window.palette();
    p.setColor(QPalette::Window, Qt::black);
    window.setPalette(p);
    window.setMouseTracking(true);
}

CoverWindow::CoverWindow(QScreen *screen, const QString &caption)
{
    // Borderless, above other windows, no task-bar entry; the keyboard stays
    // with the show's window. Placed by itself, not by a window manager: a
    // compositor would put a managed window beside the show on its own screen.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint
                   | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    makeShowSurface(*this, caption);
    setScreen(screen);
    setGeometry(screen->geometry());
    connect(screen, &QScreen::geometryChanged, this, [this](const QRect &r) { setGeometry(r); });
}

} // namespace vz
