#pragma once
// A Program for in-process tests: its folder and its settings store live in a
// fresh temporary folder, so nothing of the user's is read or written.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "platform/posix/LockClaim.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/MachineRegistry.h"
#include "platform/qt/NativeSettingsStore.h"
#include "platform/qt/SystemCursor.h"
#include "platform/x11/SystemInstance.h"
#include "platform/x11/X11HostWindow.h"
#include "runtime/Program.h"

namespace vz::test {

class TestProgram
{
public:
    // The real services; hosts, when given, stands in for the desktop's host windows.
    explicit TestProgram(std::unique_ptr<HostWindow> hosts = nullptr)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("store"));
        Services s;
        s.store = std::make_unique<NativeSettingsStore>(m_dir.filePath(QStringLiteral("store")));
        s.cursor = std::make_unique<SystemCursor>();
        s.instance = std::make_unique<SystemInstance>(m_dir.filePath(QStringLiteral("veroridovuz")));
        s.shell = std::make_unique<DesktopShell>();
        s.registry = std::make_unique<MachineRegistry>();
        s.hosts = hosts ? std::move(hosts) : std::make_unique<X11HostWindow>();
        s.music = std::make_unique<LockClaim>(m_dir.filePath(QStringLiteral("music.lock")));
        m_program = std::make_unique<Program>(m_dir.path(), std::move(s));
    }
    Program &operator*() { return *m_program; }
    Program *operator->() { return m_program.get(); }
    QString folder() const { return m_dir.path(); }
    // A file of the program's folder ("\RozG.ini").
    void writeProgramFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_program->programFile(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
    }
    QByteArray readProgramFile(const QString &name) const
    {
        QFile f(m_program->programFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Program> m_program;
};

} // namespace vz::test
