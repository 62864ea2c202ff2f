#pragma once
// The surround of a picture that does not fill the screen: the same picture
// scaled to cover the whole screen, strongly blurred and darkened, so that
// the picture itself stands out in front of it.

#include <QImage>

#include "imaging/PictureLoader.h"

namespace vz {

// The surround for a picture shown centred on a screen of the given size in
// device pixels; a null image when the picture fills the screen or is empty.
QImage makeSurround(const Picture &picture, QSize screen);

} // namespace vz
