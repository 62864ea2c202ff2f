#pragma once
// A Program for in-process tests: its folder and its settings store live in a
// fresh temporary folder, so nothing of the user's is read or written.

#include <QTemporaryDir>
#include <memory>

#include "runtime/Program.h"

namespace vz::test {

class TestProgram
{
public:
    // The real services, with the settings store in the temporary folder;
    // hosts, when given, stands in for the host windows of the desktop.
    explicit TestProgram(std::unique_ptr<HostWindow> hosts = nullptr);
    Program &operator*() { return *m_program; }
    Program *operator->() { return m_program.get(); }
    QString folder() const { return m_dir.path(); }
    // Writes bytes to a file of the program's folder ("\RozG.ini").
    void writeProgramFile(const QString &name, const QByteArray &bytes);
    QByteArray readProgramFile(const QString &name) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Program> m_program;
};

} // namespace vz::test
