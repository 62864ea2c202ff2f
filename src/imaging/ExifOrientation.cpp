#include "imaging/ExifOrientation.h"

#include "imaging/ByteReader.h"

#include <QList>
#include <QTransform>
#include <algorithm>
#include <optional>

namespace vz::picture {

namespace {

// The TIFF structure's reader, or nothing when the header is damaged.
std::optional<ByteReader> tiffReader(QByteArrayView tiff)
{
    if (!tiff.startsWith("II") && !tiff.startsWith("MM"))
        return std::nullopt;
    const ByteReader in(tiff, tiff.startsWith("II") ? ByteReader::Order::Little : ByteReader::Order::Big);
    if (in.u16(2) != 42)
        return std::nullopt;
    return in;
}

// The entries of the IFD at offset ifd: where each starts, and the offset of
// the next IFD (0 when there is none).
std::pair<QList<qsizetype>, qsizetype> ifdEntries(const ByteReader &in, qsizetype ifd)
{
    if (ifd < 8 || !in.has(ifd, 2))
        return {};
    QList<qsizetype> entries;
    qsizetype at = ifd + 2;
    for (unsigned i = 0, n = in.u16(ifd); i < n && in.has(at, 12); ++i, at += 12)
        entries << at;
    return {entries, in.has(at, 4) ? qsizetype(in.u32(at)) : 0};
}

// A whole-number entry's value; SHORT and LONG as the standard says, BYTE and
// signed LONG as some cameras write them.
std::optional<qint64> entryValue(const ByteReader &in, qsizetype at)
{
    switch (in.u16(at + 2)) {
    case 1: return in.u8(at + 8);
    case 3: return in.u16(at + 8);
    case 4: case 9: return in.u32(at + 8);
    default: return std::nullopt;
    }
}

} // namespace

int exifOrientation(QByteArrayView tiff)
{
    const auto in = tiffReader(tiff);
    if (!in)
        return 1;
    for (const qsizetype at : ifdEntries(*in, in->u32(4)).first)
        if (in->u16(at) == 0x0112) {
            const qint64 value = entryValue(*in, at).value_or(1);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    return 1;
}

QByteArrayView exifThumbnail(QByteArrayView tiff)
{
    const auto in = tiffReader(tiff);
    if (!in)
        return {};
    const qsizetype second = ifdEntries(*in, in->u32(4)).second;
    qint64 start = 0, length = 0;
    for (const qsizetype at : ifdEntries(*in, second).first) {
        if (in->u16(at) == 0x0201)
            start = entryValue(*in, at).value_or(0);
        else if (in->u16(at) == 0x0202)
            length = entryValue(*in, at).value_or(0);
    }
    if (start < 8 || length < 4 || !in->has(qsizetype(start), qsizetype(length)))
        return {};
    const QByteArrayView bytes = tiff.sliced(qsizetype(start), qsizetype(length));
    return bytes.startsWith("\xFF\xD8\xFF") ? bytes : QByteArrayView();
}

QDateTime exifDateTaken(QByteArrayView tiff)
{
    const auto in = tiffReader(tiff);
    if (!in)
        return {};
    qint64 exifIfd = 0;
    for (const qsizetype at : ifdEntries(*in, in->u32(4)).first)
        if (in->u16(at) == 0x8769)
            exifIfd = entryValue(*in, at).value_or(0);
    if (exifIfd <= 0 || exifIfd > tiff.size())
        return {};
    for (const qsizetype at : ifdEntries(*in, qsizetype(exifIfd)).first) {
        // ASCII, "YYYY:MM:DD HH:MM:SS" and its terminating zero: always past the entry.
        if (in->u16(at) != 0x9003 || in->u16(at + 2) != 2 || in->u32(at + 4) < 19)
            continue;
        const QByteArrayView text = in->bytes(qsizetype(in->u32(at + 8)), 19);
        return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    }
    return {};
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
