#include "platform/x11/DestroyWatch.h"

#include <QSocketNotifier>
#include <QTimer>

#include "platform/Logging.h"

// Xlib last: its macros (Bool, Status...) clash with Qt headers.
#include "platform/x11/XConnection.h"

namespace vz {

DestroyWatch::DestroyWatch(QObject *parent) : QObject(parent), m_display(std::make_unique<x11::Connection>())
{
    if (!*m_display) {
        qCWarning(lcPlatform) << "no X display to watch host windows on";
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_display->get()), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &DestroyWatch::readEvents);
}

DestroyWatch::~DestroyWatch() = default;

void DestroyWatch::watch(quintptr window)
{
    if (!m_notifier)
        return;
    Display *d = m_display->get();
    bool exists = false;
    {
        // The events are asked for before the window is looked at, so that it
        // cannot go unnoticed in between.
        const x11::ErrorGuard guard(d);
        XSelectInput(d, Window(window), StructureNotifyMask);
        XWindowAttributes attributes;
        exists = XGetWindowAttributes(d, Window(window), &attributes);
    }
    if (exists)
        m_watched.insert(window);
    else
        QTimer::singleShot(0, this, [this, window] { Q_EMIT windowDestroyed(window); });
    // Events that came in with the answers wait in Xlib's queue, not on the socket.
    QTimer::singleShot(0, this, &DestroyWatch::readEvents);
}

void DestroyWatch::readEvents()
{
    Display *d = m_display->get();
    while (XPending(d)) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == DestroyNotify && m_watched.remove(quintptr(event.xdestroywindow.window)))
            Q_EMIT windowDestroyed(quintptr(event.xdestroywindow.window));
    }
}

} // namespace vz
