#include "platform/Logging.h"

namespace vz {
Q_LOGGING_CATEGORY(lcPlatform, "vz.platform", QtCriticalMsg)
} // namespace vz
