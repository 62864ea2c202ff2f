#pragma once
// The one place where the program's real platform services are put together.

#include "runtime/Program.h"

namespace vz {

// The services of the running desktop; copies of the program are told apart
// by executablePath.
Services systemServices(const QString &executablePath);

} // namespace vz
