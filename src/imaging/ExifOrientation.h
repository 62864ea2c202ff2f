#pragma once
// EXIF orientation (tag 0x0112 of a JPEG's APP1 "Exif" segment): how the stored
// pixels must be turned and mirrored to stand upright. Values 1 to 8; 5 to 8
// swap width and height. Also the thumbnail stored beside it, and the date
// the photo was taken.

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QByteArrayView>

namespace vz::picture {

// The orientation in a TIFF structure (the APP1 payload after "Exif\0\0");
// 1 when it is absent, out of range or the structure is damaged.
int exifOrientation(QByteArrayView tiff);

// The JPEG thumbnail that cameras store in the structure's second IFD (the
// bytes from its start of image on); empty when there is none.
QByteArrayView exifThumbnail(QByteArrayView tiff);

// DateTimeOriginal (0x9003 in the Exif IFD), as the camera's clock read it
// (no time zone); invalid when absent, blank or damaged.
QDateTime exifDateTaken(QByteArrayView tiff);

// The upright size of a picture stored with the given size.
QSize orientedSize(QSize stored, int orientation);

// The stored pixels that end up in rect (upright coordinates) once turned.
QRect storedRect(const QRect &rect, QSize stored, int orientation);

// Turns stored pixels upright.
QImage applyOrientation(QImage image, int orientation);

} // namespace vz::picture
