#include "imaging/IconFile.h"

#include "imaging/ByteReader.h"
#include "imaging/Dib.h"
#include "imaging/Limits.h"

#include <QtEndian>
#include <algorithm>

namespace vz::picture {

namespace {

constexpr qsizetype kHeaderBytes = 6;
constexpr qsizetype kEntryBytes = 16;
constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

} // namespace

QList<IconImage> iconImages(QByteArrayView file)
{
    QList<IconImage> images;
    const ByteReader in(file);
    if (!in.has(0, kHeaderBytes) || in.u16(0) != 0 || in.u16(2) != 1)
        return images;
    const qsizetype declared = in.u16(4);
    const qsizetype count = std::min(declared, (file.size() - kHeaderBytes) / kEntryBytes);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = kHeaderBytes + i * kEntryBytes;
        IconImage image;
        image.bytes = in.u32(entry + 8);
        image.offset = in.u32(entry + 12);
        if (image.offset < kHeaderBytes || image.bytes < 40 || !in.has(image.offset, image.bytes))
            continue;
        const ByteReader data(in.bytes(image.offset, image.bytes));
        if (data.data().startsWith(QByteArrayView(kPngSignature, 8))) {
            const ByteReader png(data.data(), ByteReader::Order::Big);
            image.png = true;
            image.width = int(png.u32(16));
            image.height = int(png.u32(20));
            image.bitCount = 32;
        } else {
            if (data.u32(0) != 40)
                continue;
            // The height covers the colour bitmap and the transparency mask.
            QByteArray header = data.bytes(0, 40).toByteArray();
            qToLittleEndian<qint32>(data.i32(8) / 2, header.data() + 8);
            const auto info = readDibInfo(header);
            if (!info)
                continue;
            image.width = info->width;
            image.height = info->height;
            image.bitCount = info->bitCount;
        }
        if (image.width <= 0 || image.height <= 0 || image.width > kMaxIconSide
            || image.height > kMaxIconSide)
            continue;
        images.append(image);
    }
    std::stable_sort(images.begin(), images.end(), [](const IconImage &a, const IconImage &b) {
        const qint64 areaA = qint64(a.width) * a.height, areaB = qint64(b.width) * b.height;
        return areaA != areaB ? areaA > areaB : a.bitCount > b.bitCount;
    });
    return images;
}

QByteArray singleIconFile(QByteArrayView file, const IconImage &image)
{
    QByteArray out(kHeaderBytes + kEntryBytes, '\0');
    char *d = out.data();
    qToLittleEndian<quint16>(1, d + 2);
    qToLittleEndian<quint16>(1, d + 4);
    d[6] = char(image.width >= 256 ? 0 : image.width);
    d[7] = char(image.height >= 256 ? 0 : image.height);
    qToLittleEndian<quint16>(1, d + 10);
    qToLittleEndian<quint16>(quint16(image.bitCount), d + 12);
    qToLittleEndian<quint32>(quint32(image.bytes), d + 14);
    qToLittleEndian<quint32>(quint32(out.size()), d + 18);
    out.append(file.data() + image.offset, image.bytes);
    return out;
}

} // namespace vz::picture
