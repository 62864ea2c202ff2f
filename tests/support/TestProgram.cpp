#include "support/TestProgram.h"

#include <QDir>
#include <QFile>

#include "platform/x11/DesktopShell.h"
#include "platform/x11/MachineRegistry.h"
#include "platform/x11/NativeSettingsStore.h"
#include "platform/x11/SystemCursor.h"
#include "platform/x11/SystemInstance.h"
#include "platform/x11/X11HostWindow.h"

namespace vz::test {

TestProgram::TestProgram(std::unique_ptr<HostWindow> hosts)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("store"));
    Services s;
    s.store = std::make_unique<NativeSettingsStore>(m_dir.filePath(QStringLiteral("store")));
    s.cursor = std::make_unique<SystemCursor>();
    s.instance = std::make_unique<SystemInstance>(m_dir.filePath(QStringLiteral("veroridovuz")));
    s.shell = std::make_unique<DesktopShell>();
    s.registry = std::make_unique<MachineRegistry>();
    s.hosts = hosts ? std::move(hosts) : std::make_unique<X11HostWindow>();
    m_program = std::make_unique<Program>(m_dir.path(), std::move(s));
}

void TestProgram::writeProgramFile(const QString &name, const QByteArray &bytes)
{
    QFile f(m_program->programFile(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
}

QByteArray TestProgram::readProgramFile(const QString &name) const
{
    QFile f(m_program->programFile(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace vz::test
