#pragma once
// GIF files: the first frame is what is shown. A logical screen far larger
// than that frame (a broken or hostile header) would make the decoder set up
// a giant canvas, so it is cut down to the frame's extent first.

#include <QByteArray>

namespace vz::picture {

// data, with the logical screen reduced to the first frame's right and bottom
// edges when the screen is absurdly larger than that frame.
QByteArray withSaneScreen(QByteArray data);

} // namespace vz::picture
