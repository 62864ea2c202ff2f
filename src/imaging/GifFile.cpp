#include "imaging/GifFile.h"

#include <QtEndian>

namespace vz::picture {

namespace {

// Screens up to this many pixels are left alone whatever their first frame.
constexpr qint64 kPlainScreenPixels = 16LL * 1024 * 1024;

quint16 u16(const QByteArray &d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

} // namespace

QByteArray withSaneScreen(QByteArray data)
{
    if (data.size() < 13 || !data.startsWith("GIF8"))
        return data;
    const qint64 screenW = u16(data, 6), screenH = u16(data, 8);
    if (screenW * screenH <= kPlainScreenPixels)
        return data;
    qsizetype at = 13;
    const quint8 flags = quint8(data[10]);
    if (flags & 0x80)
        at += 3 * (qsizetype(2) << (flags & 7));
    // Skip extensions up to the first image descriptor.
    while (at < data.size()) {
        const quint8 block = quint8(data[at]);
        if (block == 0x2C) {
            if (at + 9 >= data.size())
                return data;
            const qint64 right = qint64(u16(data, at + 1)) + u16(data, at + 5);
            const qint64 bottom = qint64(u16(data, at + 3)) + u16(data, at + 7);
            if (right <= 0 || bottom <= 0 || right > 0xFFFF || bottom > 0xFFFF
                || screenW * screenH <= 4 * right * bottom)
                return data;
            qToLittleEndian<quint16>(quint16(qMin(right, screenW)), data.data() + 6);
            qToLittleEndian<quint16>(quint16(qMin(bottom, screenH)), data.data() + 8);
            return data;
        }
        if (block != 0x21 || at + 2 >= data.size())
            return data;
        at += 2; // introducer and label
        while (at < data.size()) {
            const quint8 length = quint8(data[at]);
            at += 1 + length;
            if (length == 0)
                break;
        }
    }
    return data;
}

} // namespace vz::picture
