#include "platform/Logging.h"

namespace vz {
Q_LOGGING_CATEGORY(lcPlatform, "vz.platform", QtWarningMsg)
} // namespace vz
