#pragma once
// Bounds that keep a hostile or broken picture file from costing absurd memory
// or time. A picture larger than these is refused with a reason.

#include <QtGlobal>

namespace vz::picture {

// Largest picture, in pixels, that is decoded at all: 128 megapixels, which is
// 512 MB when held whole at 32 bits a pixel. Real photographs stay well below.
inline constexpr qint64 kMaxPixels = 128LL * 1024 * 1024;
// Longest side of any picture (the JPEG and BMP headers allow more).
inline constexpr int kMaxSide = 65535;
// Memory any one decoder may take for its own tables and buffers.
inline constexpr qint64 kMaxDecoderBytes = 512LL * 1024 * 1024;
// Largest file that is read into memory whole (GIF, icons, metafiles,
// bitmaps whose header must be rewritten).
inline constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;

inline bool sizeIsSane(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
        && width * height <= kMaxPixels;
}

} // namespace vz::picture
