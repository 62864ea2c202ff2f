// The pixels of device-independent bitmaps: run-length encoded and bit-field
// pixels decoded here, the rest by Qt's BMP reader. Either way every pixel of
// the result is set: what the data does not supply is transparent.

#include "imaging/ByteReader.h"
#include "imaging/Dib.h"
#include "imaging/Limits.h"
#include "imaging/PixelFormat.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <bit>

namespace vz::picture {

namespace {

constexpr int BI_RLE8 = 1, BI_RLE4 = 2;

// Where data row y (in file order) lands in the picture.
int pictureRow(const DibInfo &info, qint64 y)
{
    return info.bottomUp ? info.height - 1 - int(y) : int(y);
}

QImage transparentImage(const DibInfo &info, QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(info.width, info.height, format);
    if (!image.isNull())
        image.fill(Qt::transparent);
    return image;
}

QList<QRgb> colorTable(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset)
{
    const ByteReader in(dib);
    const qint64 available = (qMin(bitsOffset, qint64(dib.size())) - info.colorTableOffset) / 4;
    const qint64 count = std::clamp<qint64>(std::min<qint64>(available, qint64(1) << info.bitCount), 0, 256);
    QList<QRgb> colors(256, qRgb(0, 0, 0));
    for (qint64 i = 0; i < count; ++i) {
        const qsizetype at = info.colorTableOffset + i * 4;
        colors[i] = qRgb(in.u8(at + 2), in.u8(at + 1), in.u8(at));
    }
    return colors;
}

// Codes: a run (count, index or two nibbles), or 0 then 0 (end of line),
// 1 (end of bitmap), 2 (move right and down by the next two bytes) or a
// count of literal indices padded to a whole word.
QImage decodeRunLength(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset)
{
    QImage image = transparentImage(info);
    if (image.isNull())
        return image;
    const QList<QRgb> colors = colorTable(dib, info, bitsOffset);
    const bool nibbles = info.compression == BI_RLE4;
    const ByteReader in(dib);
    qint64 x = 0, y = 0;
    auto put = [&](int index) {
        if (x < info.width && y < info.height)
            reinterpret_cast<QRgb *>(image.scanLine(pictureRow(info, y)))[x] = colors[index];
        ++x;
    };
    qsizetype at = bitsOffset;
    while (in.has(at, 2) && y < info.height) {
        const int count = in.u8(at), code = in.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < info.width; ++i)
                put(nibbles ? (i % 2 ? code & 15 : code >> 4) : code);
            continue;
        }
        if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            x += in.u8(at);
            y += in.u8(at + 1);
            at += 2;
        } else {
            const qsizetype bytes = nibbles ? (code + 1) / 2 : code;
            if (!in.has(at, bytes))
                break;
            for (int i = 0; i < code && x < info.width; ++i) {
                const int byte = in.u8(at + (nibbles ? i / 2 : i));
                put(nibbles ? (i % 2 ? byte & 15 : byte >> 4) : byte);
            }
            at += bytes + bytes % 2;
        }
    }
    return image;
}

// A channel of mask's width stretched to 0..255, rounded.
struct Channel
{
    explicit Channel(quint32 bits)
        : shift(bits ? std::countr_zero(bits) : 0)
        , mask(bits)
        , max(bits >> shift)
    {
    }
    int operator()(quint32 pixel) const
    {
        return max ? int((quint64((pixel & mask) >> shift) * 255 + max / 2) / max) : 0;
    }
    int shift;
    quint32 mask, max;
};

QImage decodeBitFields(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset)
{
    QImage image = transparentImage(info, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const Channel red(info.masks[0]), green(info.masks[1]), blue(info.masks[2]), alpha(info.masks[3]);
    const ByteReader in(dib);
    const int bytes = info.bitCount / 8;
    // Calls step(row of the picture, x, pixel) for every pixel the data holds.
    auto eachPixel = [&](auto step) {
        for (qint64 y = 0; y < info.height; ++y) {
            const qsizetype row = bitsOffset + y * info.stride;
            for (qsizetype x = 0; x < info.width && in.has(row + x * bytes, bytes); ++x)
                step(pictureRow(info, y), x, bytes == 2 ? in.u16(row + x * bytes) : in.u32(row + x * bytes));
        }
    };
    // Alpha that is zero everywhere is an unused field, not an invisible picture.
    bool useAlpha = false;
    if (alpha.mask)
        eachPixel([&](int, qsizetype, quint32 p) { useAlpha |= alpha(p) != 0; });
    eachPixel([&](int y, qsizetype x, quint32 p) {
        reinterpret_cast<QRgb *>(image.scanLine(y))[x] = qRgba(red(p), green(p), blue(p), useAlpha ? alpha(p) : 255);
    });
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

bool decodesOwnPixels(const DibInfo &info)
{
    if (info.compression == BI_RLE8 || info.compression == BI_RLE4 || info.bitCount == 16)
        return true;
    if (info.bitCount != 32 || info.masks[0] == 0)
        return false;
    return std::any_of(info.masks.begin(), info.masks.end(),
                       [](quint32 m) { return m != 0 && std::popcount(m) != 8; });
}

Result<QImage> decodeDib(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset)
{
    if (qint64(info.width) * info.height > kMaxPixels)
        return Failure{QStringLiteral("the bitmap is too large (%1 x %2 pixels)").arg(info.width).arg(info.height)};
    if (decodesOwnPixels(info)) {
        QImage image = info.stride ? decodeBitFields(dib, info, bitsOffset) : decodeRunLength(dib, info, bitsOffset);
        if (image.isNull())
            return Failure{QStringLiteral("not enough memory for %1 x %2 pixels").arg(info.width).arg(info.height)};
        return image;
    }
    // Qt reads rows that are cut short into memory it never clears: the rows
    // are completed with zeros, and what they stand for is cleared after.
    const qint64 supplied = qMax<qint64>(0, dib.size() - bitsOffset);
    QByteArray file = bmpFile(dib, info, bitsOffset);
    if (supplied < info.uncompressedBytes)
        file.append(QByteArray(info.uncompressedBytes - supplied, '\0'));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(int(kMaxDecoderBytes / (1024 * 1024)));
    QImage image = thirtyTwoBit(reader.read());
    if (image.isNull())
        return Failure{QStringLiteral("the bitmap cannot be decoded (%1)").arg(reader.errorString())};
    if (supplied >= info.uncompressedBytes)
        return image;
    image = std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qint64 wholeRows = supplied / info.stride;
    const qint64 partPixels = (supplied % info.stride) * 8 / info.bitCount;
    for (qint64 y = wholeRows; y < info.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(pictureRow(info, y)));
        for (qint64 x = y == wholeRows ? partPixels : 0; x < info.width; ++x)
            line[x] = 0;
    }
    return image;
}

} // namespace vz::picture
