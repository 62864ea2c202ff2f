#pragma once
// The logging category of the platform services: failures they pass over on
// purpose (a store that cannot be read, a look-up without a display). Quiet
// unless turned on, e.g. QT_LOGGING_RULES="vz.platform=true".

#include <QLoggingCategory>

namespace vz {
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
} // namespace vz
