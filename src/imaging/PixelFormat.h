#pragma once
// Decoded pictures leave the loader in 32-bit formats only. Qt draws an
// indexed image through its colour table without checking the indices, so a
// bitmap whose pixels point past its palette would read outside it when
// painted; converting first pads the palette and keeps every later use safe.

#include <QImage>

namespace vz::picture {

inline QImage thirtyTwoBit(QImage image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_Invalid:
        return image;
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
    }
}

} // namespace vz::picture
