#pragma once
// The logging category of the platform services: failures they pass over on
// purpose (a store that cannot be read, a look-up without a display), as
// warnings on the terminal.

#include <QLoggingCategory>

namespace vz {
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
} // namespace vz
