#pragma once
// The colour spaces that PNG, TIFF and BMP files name, read from the file
// apart from the pixels (which Qt's readers decode): a PNG's iCCP chunk, or
// its sRGB chunk, or else its cHRM and gAMA chunks; the ICC profile tag of a
// TIFF's first image; the profile a version 5 bitmap header embeds. Each
// gives sRGB (a null profile) when the file names nothing usable.

#include "imaging/colour/ColourProfile.h"

class QIODevice;

namespace vz::picture {

// file: the whole PNG, TIFF or BMP file, read from anywhere; the caller seeks
// back afterwards.
ColourProfile pngColours(QIODevice &file);
ColourProfile tiffColours(QIODevice &file);
// info: the bitmap's info header, which starts at infoStart in file.
ColourProfile bitmapColours(QIODevice &file, QByteArrayView info, qint64 infoStart);

} // namespace vz::picture
