#include "startup/SystemServices.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/posix/LockClaim.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/MachineRegistry.h"
#include "platform/qt/NativeSettingsStore.h"
#include "platform/qt/SystemCursor.h"
#include "platform/x11/SystemInstance.h"
#include "platform/x11/X11DisplayProfile.h"
#include "platform/x11/X11HostWindow.h"

namespace vz {

Services systemServices(const QString &executablePath)
{
    Services s;
    s.store = std::make_unique<NativeSettingsStore>();
    s.cursor = std::make_unique<SystemCursor>();
    s.instance = std::make_unique<SystemInstance>(executablePath);
    s.shell = std::make_unique<DesktopShell>();
    s.registry = std::make_unique<MachineRegistry>();
    s.hosts = std::make_unique<X11HostWindow>();
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    s.music = std::make_unique<LockClaim>(LockClaim::fileFor(runtime, qEnvironmentVariable("DISPLAY")));
    s.displayProfile = std::make_unique<X11DisplayProfile>();
    return s;
}

} // namespace vz
