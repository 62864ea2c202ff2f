#include "support/TestProgram.h"

#include <QDir>
#include <QFile>

#include "platform/Cursor.h"
#include "platform/Instance.h"
#include "platform/MachineRegistry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace vz::test {

TestProgram::TestProgram()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("store"));
    Services s;
    s.store = std::make_unique<NativeSettingsStore>(m_dir.filePath(QStringLiteral("store")));
    s.cursor = std::make_unique<SystemCursor>();
    s.instance = std::make_unique<SystemInstance>(m_dir.filePath(QStringLiteral("veroridovuz")));
    s.shell = std::make_unique<DesktopShell>();
    s.registry = std::make_unique<MachineRegistry>();
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
