#include "platform/WindowSystem.h"

#include <QtGlobal>

namespace vz {

namespace {
const char *const kPlatform = "QT_QPA_PLATFORM";
} // namespace

X11Choice::X11Choice()
{
    if (qEnvironmentVariableIsSet(kPlatform))
        m_previous = qgetenv(kPlatform);
    // "wayland", "wayland-egl" and lists such as "wayland;xcb" all put
    // Wayland first or alone; any other explicit choice (xcb, offscreen) stands.
    if (m_previous && !m_previous->isEmpty() && !m_previous->contains("wayland"))
        return;
    m_chosen = true;
    qputenv(kPlatform, "xcb");
}

X11Choice::~X11Choice()
{
    if (!m_chosen)
        return;
    if (m_previous)
        qputenv(kPlatform, *m_previous);
    else
        qunsetenv(kPlatform);
}

QString X11Choice::problem() const
{
    if (qgetenv(kPlatform) != "xcb" || !qEnvironmentVariableIsEmpty("DISPLAY"))
        return {};
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("Veroridovuz needs an X display. This Wayland session offers none: "
                              "start the compositor with XWayland, so that DISPLAY is set.");
    return QStringLiteral("Veroridovuz needs an X display, and DISPLAY is not set.");
}

} // namespace vz
