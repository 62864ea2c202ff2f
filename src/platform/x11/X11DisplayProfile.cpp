#include "platform/x11/X11DisplayProfile.h"

// Xlib last: its macros (Bool, Status...) clash with Qt headers.
#include "platform/x11/XConnection.h"
#include <X11/Xatom.h>

namespace vz {

namespace {

// Far above any display profile; a larger property is not read.
constexpr long kMaxProfileWords = 4 * 1024 * 1024 / 4;

} // namespace

QByteArray X11DisplayProfile::iccProfile(int monitor) const
{
    const x11::Connection connection;
    Display *display = connection.get();
    if (!display || monitor < 0)
        return {};
    const QByteArray name = monitor == 0 ? QByteArray("_ICC_PROFILE") : "_ICC_PROFILE_" + QByteArray::number(monitor);
    const Atom atom = XInternAtom(display, name.constData(), True);
    if (atom == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    QByteArray icc;
    if (XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, kMaxProfileWords, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success && data) {
        if (format == 8 && after == 0)
            icc = QByteArray(reinterpret_cast<const char *>(data), qsizetype(count));
        XFree(data);
    }
    return icc;
}

} // namespace vz
