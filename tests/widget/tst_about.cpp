// The About dialog in-process: the one-copy rule, the keys, the program's end,
// and every path of the system information launcher over an in-memory
// registry and real stand-in programs.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/about/SystemInfo.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/Shell.h"
#include "runtime/Version.h"
#include "support/MessageBoxCatcher.h"
#include "support/TestProgram.h"
#include "support/Widgets.h"

using namespace vz;
using namespace vz::test;

namespace {

// The desktop's shell, with a record of every command line it was asked to start.
class RecordingShell final : public Shell
{
public:
    void open(const QString &file) override { m_shell.open(file); }
    bool start(const QString &commandLine, Window window) override
    {
        started << commandLine;
        return m_shell.start(commandLine, window);
    }
    QStringList started;

private:
    DesktopShell m_shell;
};

QStringList lines(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class tst_about : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The load sets caption and version. One copy at a time: a second reference
    // gives the loaded dialog without loading it again. Esc does nothing; Enter
    // presses the focused button, and "Clos&e" unloads the dialog, so the next
    // reference loads anew.
    void oneCopyKeysAndClose()
    {
        TestProgram program;
        program->form<frmSettings>().show();
        QPointer<frmAbout> about = &program->form<frmAbout>();
        about->show();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(about->windowTitle(), QStringLiteral("About Veroridovuz"));
        QCOMPARE(control<QLabel>(*about, "lblVersion")->text(),
                 versionText(kVersionMajor, kVersionMinor, kVersionRevision));
        QCOMPARE(versionText(2, 10, 3), QStringLiteral("Version 2.10.3"));
        auto *title = control<QLabel>(*about, "lblTitle");
        title->setText(QStringLiteral("changed since load"));
        QCOMPARE(&program->form<frmAbout>(), about.data());
        QCOMPARE(title->text(), QStringLiteral("changed since load"));

        QWidget *close = button(*about, "Command3");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Escape);
        QVERIFY(about->isVisible());
        QCOMPARE(program->loadedForm<frmAbout>(), about.data());
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!program->loadedForm<frmAbout>());
        QTRY_VERIFY(about.isNull());
        QVERIFY(!program->hasEnded());
        QCOMPARE(control<QLabel>(program->form<frmAbout>(), "lblTitle")->text(), QStringLiteral("Veroridovuz"));
    }

    // The registry's PATH value (type 0: none) and folder value; $D is a
    // folder holding tool and msinfo/MSINFO32.EXE, both of which can run.
    void startSysInfo_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("fullAccess");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<bool>("message");
        auto row = [](const char *name, quint32 type, const QByteArray &path, const char *folder, bool fullAccess,
                      const QStringList &started, bool message) {
            QTest::newRow(name) << type << path << QString::fromLatin1(folder) << fullAccess << started << message;
        };
        const quint32 sz = reg::TypeSz;
        const QByteArray tool("$D/tool\0", 8);
        const QStringList msinfo{"$D/msinfo/MSINFO32.EXE"};
        row("PATH names the tool, no folder key", sz, tool, "", true, {"$D/tool"}, false);
        row("no PATH, folder lacks MSINFO32.EXE", 0, {}, "$D", true, {}, true);
        row("no PATH, folder holds MSINFO32.EXE", 0, {}, "$D/msinfo", true, msinfo, false);
        row("PATH over 1024 bytes: folder tried", sz, QByteArray(1100, 'x'), "$D/msinfo", true, msinfo, false);
        row("PATH of zero bytes: message at once", sz, {}, "$D/msinfo", true, {}, true);
        row("PATH expandable: empty command line", reg::TypeExpandSz, tool, "$D/msinfo", true, {""}, true);
        row("PATH names no program", sz, "$D/no-such-program", "", true, {"$D/no-such-program"}, true);
        row("no full access to the keys", sz, tool, "$D/msinfo", false, {}, true);
    }
    void startSysInfo()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, path);
        QFETCH(QString, folder);
        QFETCH(bool, fullAccess);
        QFETCH(QStringList, started);
        QFETCH(bool, message);
        QTemporaryDir dir;
        const QString ran = dir.filePath(QStringLiteral("ran.txt"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("msinfo")));
        for (const char *name : {"tool", "msinfo/MSINFO32.EXE"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(ran).toUtf8());
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        }
        RegistryTable registry;
        const std::uint32_t access = fullAccess ? reg::KeyAllAccess : reg::KeyRead;
        registry.addKey(reg::LocalMachine, reg::SysInfoKey, access);
        registry.addKey(reg::LocalMachine, reg::SysInfoFolderKey, access);
        if (type)
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue,
                              {type, path.replace("$D", dir.path().toLocal8Bit())});
        if (!folder.isEmpty())
            registry.setValue(reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue,
                              {reg::TypeSz, folder.replace(u"$D"_qs, dir.path()).toLocal8Bit() + '\0'});

        RecordingShell shell;
        MessageBoxCatcher boxes;
        StartSysInfo(registry, shell, nullptr);

        QCOMPARE(shell.started, started.replaceInStrings(u"$D"_qs, dir.path()));
        QCOMPARE(boxes.boxes().size(), size_t(message ? 1 : 0));
        if (message)
            QCOMPARE(boxes.boxes()[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
        else
            QTRY_COMPARE(lines(ran), QStringList{QStringLiteral("ran")});
        QCOMPARE(registry.openHandles(), 0);
    }

    // Last: ending the program also ends this process's event loops, so no
    // message box could be answered after it.
    void endOfTheProgramClosesIt()
    {
        TestProgram program;
        program->form<frmSettings>().show();
        QPointer<frmAbout> about = &program->form<frmAbout>();
        about->show();
        program->end();
        QVERIFY(!program->loadedForm<frmAbout>());
        QTRY_VERIFY(about.isNull());
    }
};

QTEST_MAIN(tst_about)
#include "tst_about.moc"
