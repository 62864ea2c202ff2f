#pragma once
// Device-independent bitmaps: the info header that Windows bitmaps, icons and
// metafiles share. Qt's BMP reader decodes most of them once they are wrapped
// in a BMP file header; info headers of 52 and 56 bytes (RGB or RGBA masks, as
// some image editors write them) are widened to the 108-byte form that it
// reads. Run-length encoded pixels and bit fields narrower or wider than 8 bits
// are decoded here (see decodesOwnPixels()).

#include "common/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <array>
#include <optional>

namespace vz::picture {

struct DibInfo
{
    int headerSize = 0;
    int width = 0;
    int height = 0; // always positive; bottomUp tells the row order
    bool bottomUp = true;
    int bitCount = 0;
    int compression = 0;
    int colorsUsed = 0;
    // Bit fields of 16- and 32-bit pixels: red, green, blue, alpha (0 when absent).
    std::array<quint32, 4> masks{};
    // Bytes from the start of the info header to the colour table.
    qint64 colorTableOffset = 0;
    // Bytes from the start of the info header to the first pixel when the
    // pixels follow the colour table directly (a packed DIB).
    qint64 packedBitsOffset = 0;
    // Bytes of one uncompressed pixel row, and of them all (0 for compressed bitmaps).
    qint64 stride = 0;
    qint64 uncompressedBytes = 0;
};

// Reads the info header at the start of dib; nullopt when it is not one that
// a Windows bitmap can have, or the size is not sane.
std::optional<DibInfo> readDibInfo(QByteArrayView dib);

// A BMP file made of info header, colours and pixels (the pixels at
// bitsOffset bytes from the start of dib), for Qt's BMP reader.
QByteArray bmpFile(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset);

// Whether decodeDib() decodes the pixels itself rather than through Qt, which
// leaves pixels that run-length codes skip unset and does not stretch bit
// fields of other than 8 bits to the full range of a channel.
bool decodesOwnPixels(const DibInfo &info);

// Decodes the pixels at bitsOffset bytes from the start of dib into a 32-bit
// image. Pixels the data does not supply (skipped by run-length codes, or past
// a cut-short end) are transparent.
Result<QImage> decodeDib(QByteArrayView dib, const DibInfo &info, qint64 bitsOffset);

// Decodes a packed DIB (info header, colour table, pixels) of at most
// maxPixels pixels into a 32-bit image.
Result<QImage> decodePackedDib(QByteArrayView dib, qint64 maxPixels);

} // namespace vz::picture
