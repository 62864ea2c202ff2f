#pragma once
// The date a photo was taken, from the EXIF block its file carries: a JPEG's
// APP1 "Exif" segment, a PNG's eXIf chunk, a WebP's EXIF chunk, a TIFF's own
// directories, a HEIF's Exif item.

#include <QDateTime>
#include <QString>

namespace vz::picture {

// Invalid when the file has no such date or cannot be read.
QDateTime dateTaken(const QString &fileName);

} // namespace vz::picture
