#include "support/XCursor.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace vz::test {

std::optional<bool> cursorIsBlank(const QString &display)
{
    Display *d = XOpenDisplay(display.toLocal8Bit().constData());
    if (!d)
        return std::nullopt;
    std::optional<bool> blank;
    if (XFixesCursorImage *img = XFixesGetCursorImage(d)) {
        blank = true;
        for (unsigned long i = 0; i < static_cast<unsigned long>(img->width) * img->height; ++i)
            if ((img->pixels[i] >> 24) & 0xff)
                blank = false;
        XFree(img);
    }
    XCloseDisplay(d);
    return blank;
}

} // namespace vz::test
