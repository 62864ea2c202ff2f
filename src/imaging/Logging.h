#pragma once
// The logging category of picture decoding: what a decoder passes over on
// purpose (an icon image that cannot be decoded, a metafile whose drawing
// runs out of its work budget), as warnings on the terminal; turned off with
// QT_LOGGING_RULES="vz.imaging.warning=false".

#include <QLoggingCategory>

namespace vz::picture {

Q_DECLARE_LOGGING_CATEGORY(lcImaging)

} // namespace vz::picture
