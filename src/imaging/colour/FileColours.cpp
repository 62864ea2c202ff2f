#include "imaging/colour/FileColours.h"

#include "imaging/ByteReader.h"

#include <QIODevice>
#include <QtEndian>
#include <cmath>
#include <zlib.h>

namespace vz::picture {

namespace {

// Display and camera profiles stay far below this; a larger one is not read.
constexpr qint64 kMaxProfileBytes = 4 * 1024 * 1024;

QByteArray readAt(QIODevice &file, qint64 at, qint64 bytes)
{
    if (bytes <= 0 || bytes > kMaxProfileBytes || !file.seek(at))
        return {};
    QByteArray data = file.read(bytes);
    return data.size() == bytes ? data : QByteArray();
}

// A zlib stream inflated, as long as it stays within kMaxProfileBytes.
QByteArray inflated(QByteArrayView compressed)
{
    QByteArray out(kMaxProfileBytes, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
    z.avail_in = uInt(compressed.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int status = inflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    inflateEnd(&z);
    return status == Z_STREAM_END ? out : QByteArray();
}

// A PNG's chromaticities (cHRM: white, red, green, blue) and gamma (gAMA,
// the power that made the stored numbers). Files that give sRGB's
// primaries, or none, with a gamma of about 1/2.2 are sRGB files written by
// tools that note its nearest power: taken as sRGB, so that their darkest
// colours do not move.
ColourProfile fromPngChunks(QByteArrayView chrm, QByteArrayView gama)
{
    const ByteReader c(chrm, ByteReader::Order::Big);
    std::array<QPointF, 4> rgbw{QPointF(0.64, 0.33), QPointF(0.30, 0.60), QPointF(0.15, 0.06), QPointF(0.3127, 0.3290)};
    bool srgbPrimaries = true;
    if (c.has(0, 32)) {
        for (int i = 0; i < 4; ++i) {
            const QPointF xy(c.u32(8 * i) / 1e5, c.u32(8 * i + 4) / 1e5);
            QPointF &slot = rgbw[(i + 3) % 4];
            srgbPrimaries = srgbPrimaries && std::abs(xy.x() - slot.x()) < 0.01 && std::abs(xy.y() - slot.y()) < 0.01;
            slot = xy;
        }
    }
    const quint32 gamma = ByteReader(gama, ByteReader::Order::Big).u32(0);
    if (srgbPrimaries && (gamma == 0 || (gamma >= 44000 && gamma <= 46500)))
        return {};
    if (gamma == 0)
        return ColourProfile::fromPrimaries(rgbw, ColourProfile::kSrgbCurve);
    return ColourProfile::fromPrimaries(rgbw, {1e5 / gamma, 1, 0, 0, 0});
}

} // namespace

ColourProfile pngColours(QIODevice &file)
{
    QByteArray iccp, chrm, gama, header;
    bool grey = false;
    // The colour chunks come before the pixels.
    for (qint64 at = 8; file.seek(at) && (header = file.read(8)).size() == 8;) {
        const qint64 length = qFromBigEndian<quint32>(header.constData());
        const QByteArrayView type = QByteArrayView(header).sliced(4);
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "IHDR") {
            const QByteArray ihdr = file.read(10);
            grey = ihdr.size() == 10 && (quint8(ihdr[9]) & 2) == 0;
        }
        else if (type == "sRGB")
            return {};
        else if (type == "iCCP")
            iccp = readAt(file, at + 8, length);
        else if (type == "cHRM")
            chrm = file.read(qMin<qint64>(length, 32));
        else if (type == "gAMA")
            gama = file.read(4);
        at += 12 + length;
    }
    // iCCP: a name, its end, the compression method (0), a zlib stream.
    const qsizetype nameEnd = iccp.indexOf('\0');
    if (nameEnd > 0 && iccp.size() > nameEnd + 2) {
        const ColourProfile profile = ColourProfile::fromIcc(inflated(QByteArrayView(iccp).sliced(nameEnd + 2)),
                                                             grey ? ColourProfile::Model::Grey : ColourProfile::Model::Rgb,
                                                             "a PNG picture");
        if (!profile.isNull())
            return profile;
    }
    return fromPngChunks(chrm, gama);
}

ColourProfile tiffColours(QIODevice &file)
{
    // Classic TIFF: the first directory's entries of 12 bytes each.
    const QByteArray head = readAt(file, 0, 8);
    const ByteReader::Order byteOrder = head.startsWith("MM") ? ByteReader::Order::Big : ByteReader::Order::Little;
    const ByteReader header(head, byteOrder);
    if (header.u16(2) != 42)
        return {};
    const qint64 ifd = header.u32(4);
    const quint16 count = ByteReader(readAt(file, ifd, 2), byteOrder).u16(0);
    const QByteArray entries = readAt(file, ifd + 2, qint64(count) * 12);
    const ByteReader in(entries, byteOrder);
    QByteArray icc;
    ColourProfile::Model pixels = ColourProfile::Model::Rgb;
    for (qsizetype at = 0; in.has(at, 12); at += 12) {
        if (in.u16(at) == 262) // PhotometricInterpretation
            switch (in.u16(at + 8)) {
            case 0: case 1: pixels = ColourProfile::Model::Grey; break;
            case 2: case 6: break;
            default: return {}; // Qt turns CMYK into RGB without a profile
            }
        if (in.u16(at) == 34675 && in.u16(at + 2) == 7 && in.u32(at + 4) > 4)
            icc = readAt(file, in.u32(at + 8), in.u32(at + 4));
    }
    return icc.isEmpty() ? ColourProfile() : ColourProfile::fromIcc(icc, pixels, "a TIFF picture");
}

ColourProfile bitmapColours(QIODevice &file, QByteArrayView info, qint64 infoStart)
{
    // A version 5 header: the colour space type, and for an embedded profile
    // ("MBED") where it lies from the header's start and its size.
    const ByteReader in(info);
    if (in.u32(0) < 124 || in.u32(56) != 0x4D424544u)
        return {};
    const QByteArray icc = readAt(file, infoStart + in.u32(112), in.u32(116));
    return icc.isEmpty() ? ColourProfile() : ColourProfile::fromIcc(icc, ColourProfile::Model::Rgb, "a bitmap");
}

} // namespace vz::picture
