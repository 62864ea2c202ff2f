#pragma once
// The desktop's own opener (xdg-open on X11 desktops) and detached processes.
// X11 leaves the first window's state to the started program, so the window
// hint is not passed on.

#include "platform/Shell.h"

namespace vz {

class DesktopShell final : public Shell
{
public:
    void open(const QString &file) override;
    bool start(const QString &commandLine, Window window) override;
};

} // namespace vz
