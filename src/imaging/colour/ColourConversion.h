#pragma once
// Turns a decoded picture's numbers from the colour space its file names into
// those of the screen (sRGB, or the screen's own profile), with Little CMS,
// perceptual intent. Done last, on the pixels that are shown, on the calling
// thread.

#include "imaging/colour/ColourProfile.h"

#include <QImage>

namespace vz::picture {

// image in source's colours, as a 32-bit image, or, for a CMYK source, its
// samples as Format_RGBA8888 bytes (C, M, Y, K; 255 is full ink), converted
// to target (an RGB profile, or null for sRGB). Alpha is kept. A conversion
// that cannot be made leaves the numbers as they are (CMYK: converted
// without a profile), with a warning.
QImage convertColours(QImage image, const ColourProfile &source, const ColourProfile &target);

// CMYK samples (as above) as RGB, by the plain formula that takes no account
// of inks: what a CMYK picture without a usable profile is shown as.
QImage plainCmykToRgb(QImage samples);

} // namespace vz::picture
