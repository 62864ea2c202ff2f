#include "imaging/Logging.h"

namespace vz::picture {

Q_LOGGING_CATEGORY(lcImaging, "vz.imaging", QtWarningMsg)

} // namespace vz::picture
