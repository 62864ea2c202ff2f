#pragma once
// Bounds that keep a hostile or broken picture file from costing absurd memory
// or time, for every decoder in one place. A picture larger than these is
// refused with a reason; work beyond them is skipped (and logged).

#include <QtGlobal>

namespace vz::picture {

// Largest picture, in pixels, that is decoded at all: 128 megapixels, which is
// 512 MB when held whole at 32 bits a pixel. Real photographs stay well below.
inline constexpr qint64 kMaxPixels = 128LL * 1024 * 1024;
// Longest side of any picture (the JPEG and BMP headers allow more).
inline constexpr int kMaxSide = 65535;
// Memory any one decoder may take for its own tables and buffers.
inline constexpr qint64 kMaxDecoderBytes = 512LL * 1024 * 1024;
// Largest file that is read into memory whole (GIF, icons, bitmaps whose
// header must be rewritten).
inline constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;

// GIF: a logical screen up to this many pixels is taken as it is, whatever
// the extent of the first frame.
inline constexpr qint64 kGifPlainScreenPixels = 16LL * 1024 * 1024;

// Icons: the longest side of an icon image, and how many of the largest
// images are tried before the icon is given up.
inline constexpr int kMaxIconSide = 4096;
inline constexpr int kIconAttempts = 8;

// Metafiles: the largest file read; the longest side of the picture (larger
// declared sizes are scaled down) and of a plain metafile's picture.
inline constexpr qint64 kMaxMetafileBytes = 64LL * 1024 * 1024;
inline constexpr int kMaxMetafileSide = 4096;
inline constexpr int kPlainMetafileSide = 1024;
// What playing a metafile may hold: objects, saved states, rectangles of a
// clip region, the pixel size of a font, pixels of a bitmap (and of a brush
// pattern).
inline constexpr int kMaxMetafileObjects = 4096;
inline constexpr int kMaxSavedStates = 256;
inline constexpr int kMaxClipRects = 1024;
inline constexpr double kMaxFontPixels = 2048;
inline constexpr qint64 kMaxMetafileBitmapPixels = 16LL * 1024 * 1024;
inline constexpr qint64 kMaxPatternPixels = 256 * 256;
// The work a metafile may take to draw, in units of about one pixel painted:
// enough for every pixel of the picture to be painted over many times.
inline constexpr qint64 metafileWorkBudget(qint64 pixels)
{
    return 32 * pixels + 16 * 1024 * 1024;
}

inline bool sizeIsSane(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
        && width * height <= kMaxPixels;
}

} // namespace vz::picture
