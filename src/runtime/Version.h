#pragma once
// The program's version numbers, given by the build from the project's version.

namespace vz {

inline constexpr int kVersionMajor = VZ_VERSION_MAJOR;
inline constexpr int kVersionMinor = VZ_VERSION_MINOR;
inline constexpr int kVersionRevision = VZ_VERSION_REVISION;

} // namespace vz
