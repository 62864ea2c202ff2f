#pragma once
// Exact-caption look-up of top-level windows on the X server named by $DISPLAY,
// over its own connection, so it sees windows of every process whatever Qt
// platform plugin runs.

#include <QString>

namespace vz {

// False as well when no X server can be reached.
bool x11FindWindow(const QString &caption);

} // namespace vz
