#include "platform/x11/FindWindow.h"

#include <QByteArray>
#include <optional>
#include <vector>

#include "platform/Logging.h"

// Xlib last: its macros (Bool, Status...) clash with Qt headers.
#include "platform/x11/XConnection.h"
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace vz {

namespace {

std::optional<QString> windowCaption(Display *d, Window w)
{
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(d, w, netWmName, 0, 4096, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        QString caption = QString::fromUtf8(reinterpret_cast<char *>(data), long(count));
        XFree(data);
        if (type == utf8)
            return caption;
    }
    XTextProperty text{};
    if (XGetWMName(d, w, &text) && text.value) {
        QString caption = QString::fromLocal8Bit(reinterpret_cast<char *>(text.value), long(text.nitems));
        XFree(text.value);
        return caption;
    }
    return std::nullopt;
}

std::vector<Window> clientList(Display *d, Window root)
{
    std::vector<Window> out;
    const Atom list = XInternAtom(d, "_NET_CLIENT_LIST", True);
    if (list == None)
        return out;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(d, root, list, 0, 65536, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (type == XA_WINDOW && format == 32) {
            const auto *w = reinterpret_cast<const unsigned long *>(data);
            out.assign(w, w + count);
        }
        XFree(data);
    }
    return out;
}

std::vector<Window> children(Display *d, Window w)
{
    Window root = 0, parent = 0, *kids = nullptr;
    unsigned int n = 0;
    std::vector<Window> out;
    if (XQueryTree(d, w, &root, &parent, &kids, &n) && kids) {
        out.assign(kids, kids + n);
        XFree(kids);
    }
    return out;
}

} // namespace

bool x11FindWindow(const QString &caption)
{
    const x11::Connection display;
    if (!display) {
        qCWarning(lcPlatform) << "no X display to look for" << caption << "on";
        return false;
    }
    Display *d = display.get();
    // Windows may vanish while the tree is walked.
    const x11::ErrorGuard guard(d);
    bool found = false;
    auto matches = [&](Window w) {
        const auto c = windowCaption(d, w);
        return c && *c == caption;
    };
    for (int screen = 0; screen < ScreenCount(d) && !found; ++screen) {
        const Window root = RootWindow(d, screen);
        for (Window w : clientList(d, root))
            if ((found = matches(w)))
                break;
        // Without a window manager the top-level windows are the root's
        // children; with one they may sit one level down, inside a frame.
        for (Window top : children(d, root)) {
            if (found)
                break;
            if ((found = matches(top)))
                break;
            for (Window inner : children(d, top))
                if ((found = matches(inner)))
                    break;
        }
    }
    return found;
}

} // namespace vz
