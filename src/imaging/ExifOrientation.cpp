#include "imaging/ExifOrientation.h"

#include <QTransform>
#include <algorithm>

namespace vz::picture {

int exifOrientation(const unsigned char *tiff, std::size_t size)
{
    if (!tiff || size < 8)
        return 1;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    const bool big = tiff[0] == 'M' && tiff[1] == 'M';
    if (!little && !big)
        return 1;
    auto u16 = [&](std::size_t at) -> unsigned {
        return little ? unsigned(tiff[at]) | unsigned(tiff[at + 1]) << 8
                      : unsigned(tiff[at]) << 8 | unsigned(tiff[at + 1]);
    };
    auto u32 = [&](std::size_t at) -> std::size_t {
        return little ? std::size_t(u16(at)) | std::size_t(u16(at + 2)) << 16
                      : std::size_t(u16(at)) << 16 | std::size_t(u16(at + 2));
    };
    if (u16(2) != 42)
        return 1;
    const std::size_t ifd = u32(4);
    if (ifd < 8 || ifd > size - 2)
        return 1;
    const unsigned entries = u16(ifd);
    std::size_t at = ifd + 2;
    for (unsigned i = 0; i < entries && at + 12 <= size; ++i, at += 12) {
        if (u16(at) != 0x0112)
            continue;
        // SHORT as the standard says; some cameras write a (signed) LONG or a BYTE.
        std::size_t value = 0;
        switch (u16(at + 2)) {
        case 1: value = tiff[at + 8]; break;
        case 3: value = u16(at + 8); break;
        case 4: case 9: value = u32(at + 8); break;
        default: return 1;
        }
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

QSize orientedSize(QSize stored, int orientation)
{
    return orientation >= 5 ? stored.transposed() : stored;
}

// Where the upright pixel (x, y) comes from in the stored picture.
static QPoint storedPoint(int x, int y, QSize stored, int orientation)
{
    const int w = stored.width() - 1;
    const int h = stored.height() - 1;
    switch (orientation) {
    case 2: return {w - x, y};
    case 3: return {w - x, h - y};
    case 4: return {x, h - y};
    case 5: return {y, x};
    case 6: return {y, h - x};
    case 7: return {w - y, h - x};
    case 8: return {w - y, x};
    default: return {x, y};
    }
}

QRect storedRect(const QRect &rect, QSize stored, int orientation)
{
    if (rect.isEmpty())
        return {};
    const QPoint a = storedPoint(rect.left(), rect.top(), stored, orientation);
    const QPoint b = storedPoint(rect.right(), rect.bottom(), stored, orientation);
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QImage applyOrientation(QImage image, int orientation)
{
    switch (orientation) {
    case 2: return std::move(image).mirrored(true, false);
    case 3: return std::move(image).mirrored(true, true);
    case 4: return std::move(image).mirrored(false, true);
    case 5: return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6: return image.transformed(QTransform().rotate(90));
    case 7: return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
    }
}

} // namespace vz::picture
