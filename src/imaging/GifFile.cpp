#include "imaging/GifFile.h"

#include "imaging/ByteReader.h"
#include "imaging/Limits.h"

#include <QtEndian>

namespace vz::picture {

QByteArray withSaneScreen(QByteArray data)
{
    const ByteReader in(data);
    if (!in.has(0, 13) || !data.startsWith("GIF8"))
        return data;
    const qint64 screenW = in.u16(6), screenH = in.u16(8);
    if (screenW * screenH <= kGifPlainScreenPixels)
        return data;
    qsizetype at = 13;
    const quint8 flags = in.u8(10);
    if (flags & 0x80)
        at += 3 * (qsizetype(2) << (flags & 7));
    // Skip extensions up to the first image descriptor.
    while (in.has(at, 1)) {
        const quint8 block = in.u8(at);
        if (block == 0x2C) {
            if (!in.has(at, 10))
                return data;
            const qint64 right = qint64(in.u16(at + 1)) + in.u16(at + 5);
            const qint64 bottom = qint64(in.u16(at + 3)) + in.u16(at + 7);
            if (right <= 0 || bottom <= 0 || right > 0xFFFF || bottom > 0xFFFF
                || screenW * screenH <= 4 * right * bottom)
                return data;
            qToLittleEndian<quint16>(quint16(qMin(right, screenW)), data.data() + 6);
            qToLittleEndian<quint16>(quint16(qMin(bottom, screenH)), data.data() + 8);
            return data;
        }
        if (block != 0x21 || !in.has(at, 3))
            return data;
        at += 2; // introducer and label
        while (in.has(at, 1)) {
            const quint8 length = in.u8(at);
            at += 1 + length;
            if (length == 0)
                break;
        }
    }
    return data;
}

} // namespace vz::picture
