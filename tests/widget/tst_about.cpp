// The About dialog in-process: its designed controls, type and pointers, the
// one-copy rule, the keys, and every path of the system information launcher
// over an in-memory registry and real stand-in programs.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/about/SystemInfo.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/Shell.h"
#include "runtime/Version.h"
#include "support/MessageBoxCatcher.h"
#include "support/TestProgram.h"

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

    template <class W = QWidget> static W *control(QWidget *form, const QString &name)
    {
        return form->findChild<W *>(name);
    }

private Q_SLOTS:
    void versionLine_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("line");
        QTest::newRow("1.0.0") << 1 << 0 << 0 << "Version 1.0.0";
        QTest::newRow("2.10.3") << 2 << 10 << 3 << "Version 2.10.3";
    }
    void versionLine()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, line);
        QCOMPARE(versionText(major, minor, revision), line);
    }

    void designedControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("picIcon") << "picIcon" << "QLabel" << "frmAbout" << QRect(120, 120, 1065, 2205) << ""
                                 << "Zizure Software";
        QTest::newRow("lblTitle") << "lblTitle" << "QLabel" << "frmAbout" << QRect(1560, 240, 1845, 240)
                                  << "Veroridovuz" << "";
        QTest::newRow("lblVersion") << "lblVersion" << "QLabel" << "frmAbout" << QRect(1560, 600, 1485, 225)
                                    << "*" << "";
        QTest::newRow("Image2") << "Image2" << "QLabel" << "frmAbout" << QRect(3840, 480, 1665, 285) << "" << "";
        QTest::newRow("Image1") << "Image1" << "QLabel" << "frmAbout" << QRect(5160, 0, 480, 480) << "" << "";
        QTest::newRow("Frame2") << "Frame2" << "QGroupBox" << "frmAbout" << QRect(1560, 840, 3975, 1095) << ""
                                << "";
        QTest::newRow("lblDescription") << "lblDescription" << "QLabel" << "Frame2"
                                        << QRect(120, 120, 3795, 810) << "*" << "";
        QTest::newRow("Command1") << "Command1" << "QPushButton" << "frmAbout" << QRect(1560, 2040, 2295, 345)
                                  << "&Join the Zizure mailing list" << "Join our mailing list";
        QTest::newRow("Command2") << "Command2" << "QPushButton" << "frmAbout" << QRect(4290, 2040, 1245, 345)
                                  << "&Zizure" << "Visit Zizure";
        QTest::newRow("Frame1") << "Frame1" << "QGroupBox" << "frmAbout" << QRect(120, 2405, 4095, 1455) << ""
                                << "";
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << "QLabel" << "Frame1" << QRect(120, 240, 3870, 1185)
                                       << "*" << "";
        QTest::newRow("Command3") << "Command3" << "QPushButton" << "frmAbout" << QRect(4290, 2777, 1245, 345)
                                  << "Clos&e" << "Close this window";
        QTest::newRow("Command4") << "Command4" << "QPushButton" << "frmAbout" << QRect(4290, 3480, 1245, 345)
                                  << "&System Info" << "Info about your computer";
    }
    // Each control at its designed place (15 twips to a pixel), with its text
    // shown whole in the dialog's type.
    void designedControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        TestProgram program;
        auto &about = program->form<frmAbout>();
        QWidget *w = control(&about, name);
        QVERIFY(w);
        QCOMPARE(w->metaObject()->className(), kind.toLatin1());
        QCOMPARE(w->parentWidget()->objectName(), container);
        const auto px = [](int t) { return qRound(t / 15.0); };
        QCOMPARE(w->geometry(), QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
        QCOMPARE(w->toolTip(), toolTip);

        if (auto *button = qobject_cast<QPushButton *>(w)) {
            QCOMPARE(button->text(), text);
            QVERIFY(!button->isDefault());
            const int needed = button->fontMetrics().horizontalAdvance(QString(text).remove(u'&'));
            QVERIFY2(needed + 8 <= w->width(), qPrintable(QStringLiteral("needs %1 px").arg(needed)));
        } else if (auto *label = qobject_cast<QLabel *>(w); label && !text.isEmpty()) {
            if (text != u"*")
                QCOMPARE(label->text(), text);
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, w->width(), 1000), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, label->text());
            QVERIFY2(needed.width() <= w->width() && needed.height() <= w->height() + 1,
                     qPrintable(QStringLiteral("needs %1 x %2 px").arg(needed.width()).arg(needed.height())));
        }
    }

    void typeAndPointers()
    {
        TestProgram program;
        auto &about = program->form<frmAbout>();
        for (const char *name : {"lblTitle", "lblVersion"}) {
            const QWidget *w = control(&about, QString::fromLatin1(name));
            QVERIFY(w->font().bold());
            QCOMPARE(w->font().pointSizeF(), 9.75);
            QCOMPARE(w->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        }
        for (const char *name : {"lblDescription", "lblDisclaimer"}) {
            const QWidget *w = control(&about, QString::fromLatin1(name));
            QVERIFY(!w->font().bold());
            QCOMPARE(w->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
        for (const char *name : {"picIcon", "Image1", "Command1", "Command2"}) {
            const QCursor c = control(&about, QString::fromLatin1(name))->cursor();
            QCOMPARE(c.shape(), Qt::BitmapCursor);
            QCOMPARE(c.hotSpot(), QPoint(6, 0));
            QCOMPARE(c.pixmap().size(), QSize(32, 32));
            // The fingertip is drawn on the hot spot.
            QCOMPARE(qAlpha(c.pixmap().toImage().pixel(6, 0)), 255);
        }
        for (const char *name : {"Image2", "Command3", "Command4"})
            QCOMPARE(control(&about, QString::fromLatin1(name))->cursor().shape(), Qt::ArrowCursor);
    }

    // The load sets caption and version. One copy at a time: a second reference
    // gives the loaded dialog without loading it again; "Clos&e" unloads it and the next reference loads anew.
    void oneCopyAndClose()
    {
        TestProgram program;
        program->form<frmSettings>().show();
        auto &about = program->form<frmAbout>();
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("About Veroridovuz"));
        QCOMPARE(control<QLabel>(&about, QStringLiteral("lblVersion"))->text(),
                 versionText(kVersionMajor, kVersionMinor, kVersionRevision));
        auto *title = control<QLabel>(&about, QStringLiteral("lblTitle"));
        title->setText(QStringLiteral("changed since load"));
        QCOMPARE(&program->form<frmAbout>(), &about);
        QCOMPARE(title->text(), QStringLiteral("changed since load"));

        QPointer<frmAbout> first = &about;
        QTest::mouseClick(control(&about, QStringLiteral("Command3")), Qt::LeftButton);
        QVERIFY(!program->loadedForm<frmAbout>());
        QTRY_VERIFY(first.isNull());
        QVERIFY(!program->hasEnded());

        auto &second = program->form<frmAbout>();
        QCOMPARE(control<QLabel>(&second, QStringLiteral("lblTitle"))->text(), QStringLiteral("Veroridovuz"));
    }

    // Enter presses the focused button; Esc does nothing.
    void keys()
    {
        TestProgram program;
        program->form<frmSettings>().show();
        QPointer<frmAbout> about = &program->form<frmAbout>();
        about->show();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(about->isVisible());
        QVERIFY(program->loadedForm<frmAbout>());

        QWidget *close = control(about, QStringLiteral("Command3"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Escape);
        QVERIFY(program->loadedForm<frmAbout>());
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!program->loadedForm<frmAbout>());
    }

    void startSysInfo_data()
    {
        QTest::addColumn<QString>("pathValue");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("fullAccess");
        QTest::addColumn<QString>("started");
        QTest::addColumn<bool>("message");

        QTest::newRow("PATH names the tool, no folder key") << "tool" << "" << true << "tool" << false;
        QTest::newRow("no PATH, folder lacks MSINFO32.EXE") << "" << "empty" << true << "" << true;
        QTest::newRow("no PATH, folder holds MSINFO32.EXE") << "" << "msinfo" << true << "msinfo" << false;
        QTest::newRow("PATH over 1024 bytes: folder tried") << "long" << "msinfo" << true << "msinfo" << false;
        QTest::newRow("PATH of zero bytes: message at once") << "zero" << "msinfo" << true << "" << true;
        QTest::newRow("PATH expandable: empty command line") << "expand" << "msinfo" << true << "(empty)" << true;
        QTest::newRow("PATH names no program") << "missing" << "" << true << "missing" << true;
        QTest::newRow("no full access to the keys") << "tool" << "msinfo" << false << "" << true;
    }
    void startSysInfo()
    {
        QFETCH(QString, pathValue);
        QFETCH(QString, folder);
        QFETCH(bool, fullAccess);
        QFETCH(QString, started);
        QFETCH(bool, message);

        QTemporaryDir dir;
        const QDir d(dir.path());
        const QString ran = d.filePath(QStringLiteral("ran.txt"));
        const auto script = [&](const QString &path) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(ran).toUtf8());
            f.close();
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        };
        d.mkpath(QStringLiteral("msinfo"));
        d.mkpath(QStringLiteral("empty"));
        script(d.filePath(QStringLiteral("tool")));
        script(d.filePath(QStringLiteral("msinfo/MSINFO32.EXE")));
        const QMap<QString, QString> paths{
            {QStringLiteral("tool"), d.filePath(QStringLiteral("tool"))},
            {QStringLiteral("missing"), d.filePath(QStringLiteral("no-such-program"))},
            {QStringLiteral("msinfo"), d.filePath(QStringLiteral("msinfo/MSINFO32.EXE"))},
            {QStringLiteral("(empty)"), QString()}};

        RegistryTable registry;
        const std::uint32_t access = fullAccess ? reg::KeyAllAccess : reg::KeyRead;
        registry.addKey(reg::LocalMachine, reg::SysInfoKey, access);
        registry.addKey(reg::LocalMachine, reg::SysInfoFolderKey, access);
        const auto sz = [](const QString &text) { return reg::Value{reg::TypeSz, text.toLocal8Bit() + '\0'}; };
        if (pathValue == u"tool" || pathValue == u"missing")
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, sz(paths[pathValue]));
        else if (pathValue == u"long")
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, sz(QString(1100, u'x')));
        else if (pathValue == u"zero")
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, {reg::TypeSz, {}});
        else if (pathValue == u"expand")
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue,
                              {reg::TypeExpandSz, paths[QStringLiteral("tool")].toLocal8Bit() + '\0'});
        if (!folder.isEmpty())
            registry.setValue(reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue,
                              sz(d.filePath(folder)));

        RecordingShell shell;
        MessageBoxCatcher boxes;
        StartSysInfo(registry, shell, nullptr);

        QCOMPARE(shell.started, started.isEmpty() ? QStringList() : QStringList{paths[started]});
        QCOMPARE(boxes.boxes().size(), size_t(message ? 1 : 0));
        if (message) {
            QCOMPARE(boxes.boxes()[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
            QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Veroridovuz"));
            QCOMPARE(boxes.boxes()[0].icon, QMessageBox::NoIcon);
        } else {
            QTRY_COMPARE(lines(ran), QStringList{QStringLiteral("ran")});
        }
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
