#pragma once
// A short-lived connection of our own to the X server, for look-ups that Qt
// does not offer, and a guard that swallows the errors of requests about
// windows that may vanish meanwhile (another program's, a host's).
// Include after every Qt header: Xlib's macros (Bool, Status...) clash with Qt's.

#include <X11/Xlib.h>

namespace vz::x11 {

class Connection
{
public:
    Connection() : m_display(XOpenDisplay(nullptr)) {}
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Null without a display.
    Display *get() const { return m_display; }
    explicit operator bool() const { return m_display != nullptr; }

private:
    Display *m_display;
};

// While it lives, X errors are ignored; at its end every request made so far
// has been answered, so no error of them comes after the old handler is back.
class ErrorGuard
{
public:
    explicit ErrorGuard(Display *display);
    ~ErrorGuard();
    ErrorGuard(const ErrorGuard &) = delete;
    ErrorGuard &operator=(const ErrorGuard &) = delete;

private:
    Display *m_display;
    XErrorHandler m_previous;
};

} // namespace vz::x11
