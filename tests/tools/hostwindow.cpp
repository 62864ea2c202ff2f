// A plain X window for the embedding tests, standing in for a screen-saver
// daemon's window: hostwindow X Y WIDTH HEIGHT prints its window id, then
// keeps the window up until it is killed.

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 5)
        return 2;
    Display *d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const unsigned w = std::atoi(argv[3]), h = std::atoi(argv[4]);
    XSetWindowAttributes attrs = {};
    attrs.background_pixel = WhitePixel(d, DefaultScreen(d));
    attrs.override_redirect = True;
    const Window win = XCreateWindow(d, DefaultRootWindow(d), x, y, w, h, 0, CopyFromParent, InputOutput,
                                     CopyFromParent, CWBackPixel | CWOverrideRedirect, &attrs);
    XStoreName(d, win, "host");
    XMapWindow(d, win);
    XSync(d, False);
    std::printf("%lu\n", static_cast<unsigned long>(win));
    std::fflush(stdout);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
    }
}
