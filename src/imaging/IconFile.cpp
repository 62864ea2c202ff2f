#include "imaging/IconFile.h"

#include "imaging/Dib.h"

#include <QtEndian>
#include <algorithm>

namespace vz::picture {

namespace {

constexpr qsizetype kHeaderBytes = 6;
constexpr qsizetype kEntryBytes = 16;
constexpr int kMaxIconSide = 4096;
constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

quint16 u16(QByteArrayView d, qsizetype at) { return qFromLittleEndian<quint16>(d.data() + at); }
quint32 u32(QByteArrayView d, qsizetype at) { return qFromLittleEndian<quint32>(d.data() + at); }

} // namespace

QList<IconImage> iconImages(QByteArrayView file)
{
    QList<IconImage> images;
    if (file.size() < kHeaderBytes || u16(file, 0) != 0 || u16(file, 2) != 1)
        return images;
    const qsizetype declared = u16(file, 4);
    const qsizetype count = std::min(declared, (file.size() - kHeaderBytes) / kEntryBytes);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = kHeaderBytes + i * kEntryBytes;
        IconImage image;
        image.bytes = u32(file, entry + 8);
        image.offset = u32(file, entry + 12);
        if (image.offset < kHeaderBytes || image.bytes < 40 || image.offset > file.size()
            || image.bytes > file.size() - image.offset)
            continue;
        const QByteArrayView data = file.sliced(image.offset, image.bytes);
        if (data.startsWith(QByteArrayView(kPngSignature, 8))) {
            if (data.size() < 24)
                continue;
            image.png = true;
            image.width = int(qFromBigEndian<quint32>(data.data() + 16));
            image.height = int(qFromBigEndian<quint32>(data.data() + 20));
            image.bitCount = 32;
        } else {
            if (u32(data, 0) != 40)
                continue;
            // The height covers the colour bitmap and the transparency mask.
            QByteArray header(data.data(), 40);
            qToLittleEndian<qint32>(qFromLittleEndian<qint32>(data.data() + 8) / 2, header.data() + 8);
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
