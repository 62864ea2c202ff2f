#include "imaging/Dib.h"

#include "imaging/ByteReader.h"
#include "imaging/Limits.h"
#include "imaging/PixelFormat.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace vz::picture {

namespace {

constexpr int kCoreHeader = 12;   // OS/2 1.x
constexpr int kInfoHeader = 40;
constexpr int kV4Header = 108;

constexpr int BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

void putU32(QByteArray &d, qsizetype at, quint32 v) { qToLittleEndian<quint32>(v, d.data() + at); }

} // namespace

std::optional<DibInfo> readDibInfo(QByteArrayView dib)
{
    const ByteReader in(dib);
    DibInfo info;
    const quint32 headerSize = in.u32(0);
    if (headerSize == kCoreHeader) {
        if (!in.has(0, kCoreHeader))
            return std::nullopt;
        info.width = in.u16(4);
        info.height = in.u16(6);
        if (in.u16(8) != 1)
            return std::nullopt;
        info.bitCount = in.u16(10);
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64
               || headerSize == kV4Header || headerSize == 124) {
        if (!in.has(0, headerSize))
            return std::nullopt;
        const qint64 w = in.i32(4);
        qint64 h = in.i32(8);
        if (h < 0) {
            h = -h;
            info.bottomUp = false;
        }
        if (w <= 0 || w > kMaxSide || h > kMaxSide || in.u16(12) != 1)
            return std::nullopt;
        info.width = int(w);
        info.height = int(h);
        info.bitCount = in.u16(14);
        info.compression = int(in.u32(16));
        const quint32 used = in.u32(32);
        if (used > 256 && info.bitCount <= 8)
            return std::nullopt;
        info.colorsUsed = int(qMin<quint32>(used, 1u << 16));
    } else {
        return std::nullopt;
    }
    info.headerSize = int(headerSize);
    switch (info.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return std::nullopt;
    }
    switch (info.compression) {
    case BI_RGB: break;
    case BI_RLE8: if (info.bitCount != 8) return std::nullopt; break;
    case BI_RLE4: if (info.bitCount != 4) return std::nullopt; break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: if (info.bitCount != 16 && info.bitCount != 32) return std::nullopt; break;
    default: return std::nullopt; // embedded JPEG or PNG, or unknown
    }
    if (info.width <= 0 || info.height <= 0)
        return std::nullopt;

    // Bitmaps of 16 bits and more need no colours, but may still carry a
    // table of colorsUsed of them (for displays with a palette).
    qint64 colors = info.colorsUsed;
    if (info.bitCount <= 8 && colors == 0)
        colors = 1 << info.bitCount;
    const int entryBytes = headerSize == kCoreHeader ? 3 : 4;
    qint64 masks = 0;
    if (headerSize == kInfoHeader && info.compression == BI_BITFIELDS)
        masks = 12;
    else if (headerSize == kInfoHeader && info.compression == BI_ALPHABITFIELDS)
        masks = 16;
    if (info.compression == BI_BITFIELDS || info.compression == BI_ALPHABITFIELDS) {
        // After a 40-byte header, or inside a longer one (alpha from 56 bytes on).
        const bool alpha = info.compression == BI_ALPHABITFIELDS || headerSize >= 56;
        info.masks = {in.u32(40), in.u32(44), in.u32(48), alpha && headerSize != 64 ? in.u32(52) : 0u};
    } else if (info.bitCount == 16) {
        info.masks = {0x7C00, 0x03E0, 0x001F, 0};
    }
    info.colorTableOffset = headerSize + masks;
    info.packedBitsOffset = headerSize + masks + colors * entryBytes;
    if (info.compression == BI_RGB || info.compression == BI_BITFIELDS
        || info.compression == BI_ALPHABITFIELDS) {
        info.stride = ((qint64(info.width) * info.bitCount + 31) / 32) * 4;
        info.uncompressedBytes = info.stride * info.height;
    }
    return info;
}

QByteArray bmpFile(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset)
{
    // Headers Qt does not read (52, 56, 64 bytes) become the 108-byte form,
    // whose first 56 bytes have the same layout.
    const bool widen = info.headerSize == 52 || info.headerSize == 56 || info.headerSize == 64;
    const qint64 newHeader = widen ? kV4Header : info.headerSize;
    const qint64 growth = newHeader - info.headerSize;
    QByteArray file;
    file.reserve(14 + dib.size() + growth);
    file.append("BM", 2);
    file.append(QByteArray(12, '\0'));
    putU32(file, 2, quint32(qMin<qint64>(14 + dib.size() + growth, 0xFFFFFFFFu)));
    putU32(file, 10, quint32(14 + bitsOffset + growth));
    if (!widen) {
        file.append(dib.data(), dib.size());
        return file;
    }
    QByteArray header(dib.data(), qMin<qsizetype>(info.headerSize, 56));
    header.resize(kV4Header, '\0');
    putU32(header, 0, kV4Header);
    if (info.compression == BI_ALPHABITFIELDS)
        putU32(header, 16, BI_BITFIELDS);
    if (info.headerSize == 64) // OS/2 2.x: no masks
        std::fill(header.begin() + 40, header.end(), '\0');
    file.append(header);
    file.append(dib.data() + info.headerSize, dib.size() - info.headerSize);
    return file;
}

Result<QImage> decodePackedDib(QByteArrayView dib, qint64 maxPixels)
{
    const auto info = readDibInfo(dib);
    if (!info)
        return Failure{QStringLiteral("the bitmap header is not valid")};
    if (qint64(info->width) * info->height > maxPixels)
        return Failure{QStringLiteral("the bitmap is too large (%1 x %2 pixels)").arg(info->width).arg(info->height)};
    if (info->packedBitsOffset > dib.size()
        || (info->uncompressedBytes && info->packedBitsOffset + info->uncompressedBytes > dib.size()))
        return Failure{QStringLiteral("the bitmap data is cut short")};
    return decodeDib(dib, *info, info->packedBitsOffset);
}

} // namespace vz::picture
