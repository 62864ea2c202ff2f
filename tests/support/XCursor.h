#pragma once
#include <QString>
#include <optional>

namespace vz::test {
// Whether the X server's current cursor image is fully transparent; nullopt
// when the display cannot be opened.
std::optional<bool> cursorIsBlank(const QString &display);
} // namespace vz::test
