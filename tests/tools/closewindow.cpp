// Asks a window to close as a window manager does when its close box is
// clicked: closewindow WINDOW sends it WM_PROTOCOLS / WM_DELETE_WINDOW. The
// test X server runs no window manager, so nothing else would.

#include <X11/Xlib.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    Display *d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    const Window win = std::strtoul(argv[1], nullptr, 0);
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = win;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(d, win, False, NoEventMask, &e);
    XSync(d, False);
    XCloseDisplay(d);
    return sent ? 0 : 1;
}
