#include "platform/x11/XConnection.h"

namespace vz::x11 {

namespace {

int ignoreXErrors(Display *, XErrorEvent *) { return 0; }

} // namespace

Connection::~Connection()
{
    if (m_display)
        XCloseDisplay(m_display);
}

ErrorGuard::ErrorGuard(Display *display) : m_display(display), m_previous(XSetErrorHandler(ignoreXErrors)) {}

ErrorGuard::~ErrorGuard()
{
    XSync(m_display, False);
    XSetErrorHandler(m_previous);
}

} // namespace vz::x11
