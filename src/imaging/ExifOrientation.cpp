#include "imaging/ExifOrientation.h"

#include "imaging/ByteReader.h"

#include <QTransform>
#include <algorithm>

namespace vz::picture {

int exifOrientation(QByteArrayView tiff)
{
    if (!tiff.startsWith("II") && !tiff.startsWith("MM"))
        return 1;
    const ByteReader in(tiff, tiff.startsWith("II") ? ByteReader::Order::Little : ByteReader::Order::Big);
    if (in.u16(2) != 42)
        return 1;
    const qsizetype ifd = in.u32(4);
    if (ifd < 8 || !in.has(ifd, 2))
        return 1;
    const unsigned entries = in.u16(ifd);
    qsizetype at = ifd + 2;
    for (unsigned i = 0; i < entries && in.has(at, 12); ++i, at += 12) {
        if (in.u16(at) != 0x0112)
            continue;
        // SHORT as the standard says; some cameras write a (signed) LONG or a BYTE.
        qint64 value = 0;
        switch (in.u16(at + 2)) {
        case 1: value = in.u8(at + 8); break;
        case 3: value = in.u16(at + 8); break;
        case 4: case 9: value = in.u32(at + 8); break;
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
