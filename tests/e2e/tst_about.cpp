// The About dialog on a real X server: its pictures and blue headings on the
// screen, each link handed to the desktop's opener, and the system information
// tool started or reported missing. The dialog runs in this process on a
// private Xvfb and is driven with real pointer clicks (xdotool). The process's
// PATH holds only a folder of its own: a recording xdg-open (the opener Qt uses
// on a plain X session), the X tools the harness calls and, per case, a
// stand-in system-information program.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/about/frmAbout.h"
#include "dialogs/picture/frmSettings.h"
#include "runtime/Version.h"
#include "support/Desktop.h"
#include "support/MessageBoxCatcher.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

void writeScript(const QString &path, const QString &recordFile, const QString &tag)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\nprintf '%1%s\\n' \"$*\" >> '%2'\n").arg(tag, recordFile).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// The first pixel where shown differs from the opaque pixels of expected, or
// an empty text when they agree.
QString difference(const QImage &shown, const QImage &expected)
{
    if (shown.size() != expected.size())
        return QStringLiteral("size %1x%2").arg(shown.width()).arg(shown.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            if (qAlpha(want) == 255 && shown.pixel(x, y) != want)
                return QStringLiteral("(%1, %2) is #%3, not #%4")
                    .arg(x).arg(y).arg(shown.pixel(x, y), 8, 16).arg(want, 8, 16);
        }
    return {};
}

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
public:
    tst_about(const XServer &x, const QString &work) : m_x(x), m_work(work) {}

private:
    const XServer &m_x;
    QDir m_work;
    std::unique_ptr<TestProgram> m_program;
    QPointer<frmAbout> m_about;

    QString bin() const { return m_work.filePath(QStringLiteral("bin")); }
    QString opened() const { return m_work.filePath(QStringLiteral("opened.txt")); }
    QString ran() const { return m_work.filePath(QStringLiteral("ran.txt")); }
    QString storeFile() const { return m_work.filePath(QStringLiteral("xdg/Veroridovuz/registry.ini")); }

    template <class W> W *control(const char *name) const
    {
        return m_about->findChild<W *>(QString::fromLatin1(name));
    }

    void clickOn(QWidget *w) const
    {
        const QPoint p = w->mapToGlobal(w->rect().center());
        m_x.mouseMove(p.x(), p.y());
        m_x.click();
    }

    // The screen's pixels under a widget.
    QImage grabbed(QWidget *w, const QImage &screen) const
    {
        return screen.copy(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(opened());
        QFile::remove(ran());
        QFile::remove(storeFile());
        QFile::remove(QDir(bin()).filePath(QStringLiteral("hardinfo")));
        m_program = std::make_unique<TestProgram>();
        m_about = &(*m_program)->form<frmAbout>();
        m_about->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_about));
    }

    void cleanup()
    {
        m_program.reset();
        QTRY_VERIFY(m_about.isNull());
    }

    void dialogOnScreen()
    {
        const auto geometry = windowGeometry(m_x, QString::number(m_about->winId()));
        QVERIFY(geometry);
        QCOMPARE(geometry->size(), QSize(382, 266));
        QCOMPARE(geometry->center(), QRect(QPoint(0, 0), m_x.size()).center());

        // The logo inside the picture box's sunken border, the banner and the icon,
        // pixel for pixel, once the dialog has been drawn.
        QImage screen;
        const auto logoShown = [&] {
            screen = m_x.screenshot();
            return difference(grabbed(control<QLabel>("picIcon"), screen).copy(2, 2, 67, 143),
                              QImage(QStringLiteral(":/zizure-logo.bmp")));
        };
        QTRY_COMPARE_WITH_TIMEOUT(logoShown(), QString(), 10000);
        m_x.keepShot(QStringLiteral("about-dialog"));
        QCOMPARE(difference(grabbed(control<QLabel>("Image2"), screen),
                            QImage(QStringLiteral(":/veroridovuz-banner.gif"))), QString());
        QCOMPARE(difference(grabbed(control<QLabel>("Image1"), screen),
                            QImage(QStringLiteral(":/zizure-globe.ico"))), QString());

        // The headings are drawn in pure blue.
        const auto count = [&](const char *name, auto pred) {
            const QImage area = grabbed(control<QWidget>(name), screen);
            int n = 0;
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    n += pred(QColor(area.pixel(x, y))) ? 1 : 0;
            return n;
        };
        const auto pureBlue = [](const QColor &c) { return c == QColor(0, 0, 255); };
        QVERIFY2(count("lblTitle", pureBlue) > 60, "title not drawn in blue");
        QVERIFY2(count("lblVersion", pureBlue) > 60, "version not drawn in blue");
        QCOMPARE(control<QLabel>("lblVersion")->text(), versionText(kVersionMajor, kVersionMinor, kVersionRevision));
        QCOMPARE(versionText(2, 10, 3), QStringLiteral("Version 2.10.3"));
    }

    void linksOpenTheirPages_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("address");
        const QString home = QStringLiteral("https://www.zizure.example");
        QTest::newRow("Command1: mailing list") << "Command1" << home + "/Pages/VazaZez.html";
        QTest::newRow("Command2: home page") << "Command2" << home;
        QTest::newRow("picIcon: home page") << "picIcon" << home;
        QTest::newRow("Image2: product page") << "Image2" << home + "/Pages/Veroridovuz.html";
        QTest::newRow("Image1: start home page") << "Image1" << home;
    }
    void linksOpenTheirPages()
    {
        QFETCH(QString, control);
        QFETCH(QString, address);
        clickOn(m_about->findChild<QWidget *>(control));
        QTRY_COMPARE_WITH_TIMEOUT(lines(opened()), QStringList{address}, 10000);
        QVERIFY(m_about->isVisible());
    }

    void systemInfo_data()
    {
        QTest::addColumn<bool>("onPath");
        QTest::addColumn<bool>("inStore");
        QTest::addColumn<QString>("expected");
        QTest::newRow("program on PATH") << true << false << "hardinfo";
        QTest::newRow("store file names one") << true << true << "store tool";
        QTest::newRow("none") << false << false << "";
    }
    void systemInfo()
    {
        QFETCH(bool, onPath);
        QFETCH(bool, inStore);
        QFETCH(QString, expected);
        if (onPath)
            writeScript(QDir(bin()).filePath(QStringLiteral("hardinfo")), ran(), QStringLiteral("hardinfo"));
        if (inStore) {
            const QString tool = m_work.filePath(QStringLiteral("tools/store-tool"));
            writeScript(tool, ran(), QStringLiteral("store tool"));
            QDir().mkpath(QFileInfo(storeFile()).path());
            QFile f(storeFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH=sz:" + tool.toUtf8() + "\n");
        }
        MessageBoxCatcher boxes;
        clickOn(control<QPushButton>("Command4"));
        if (expected.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), size_t(1), 10000);
            QCOMPARE(boxes.boxes()[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
            QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Veroridovuz"));
            QCOMPARE(boxes.boxes()[0].icon, QMessageBox::NoIcon);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(lines(ran()), QStringList{expected}, 10000);
            QVERIFY(boxes.boxes().empty());
        }
        QVERIFY(m_about->isVisible());
    }

    // One copy at a time: "A&bout" raises the loaded dialog; Esc does nothing,
    // "Clos&e" unloads it alone; OK in the picture dialog ends the program
    // with it. Last: the program's end also ends this process's event loops.
    void oneCopyClosedAloneOrWithTheProgram()
    {
        Program &program = **m_program;
        frmSettings &settings = program.form<frmSettings>();
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        settings.move(0, 0); // its buttons clear of the About dialog
        const auto click = [&](QWidget &form, const char *name) {
            auto *button = form.findChild<QPushButton *>(QString::fromLatin1(name));
            QSignalSpy clicked(button, &QPushButton::clicked);
            clickOn(button);
            QTRY_COMPARE(clicked.size(), 1);
        };
        click(settings, "cmdAbout");
        QCOMPARE(program.loadedForm<frmAbout>(), m_about.data());
        QTest::keyClick(m_about, Qt::Key_Escape);
        QVERIFY(m_about->isVisible());
        click(*m_about, "Command3");
        QTRY_VERIFY(m_about.isNull());
        QVERIFY(settings.isVisible() && !program.hasEnded());

        click(settings, "cmdAbout");
        m_about = program.loadedForm<frmAbout>();
        QVERIFY(m_about && m_about->isVisible());
        click(settings, "Command3");
        QTRY_VERIFY(m_about.isNull());
        QVERIFY(program.hasEnded());
    }
};

int main(int argc, char *argv[])
{
    // The X server and the PATH must be in place before the application connects
    // and before Qt looks for the opener.
    XServer x;
    if (!x.ok()) {
        qCritical("Xvfb did not start");
        return 1;
    }
    QTemporaryDir work;
    const QDir dir(work.path());
    dir.mkpath(QStringLiteral("bin"));
    dir.mkpath(QStringLiteral("tools"));
    for (const char *tool : {"xdotool", "import"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (found.isEmpty()) {
            qCritical("%s is missing", tool);
            return 1;
        }
        QFile::link(found, dir.filePath(QStringLiteral("bin/") + QString::fromLatin1(tool)));
    }
    writeScript(dir.filePath(QStringLiteral("bin/xdg-open")), dir.filePath(QStringLiteral("opened.txt")),
                QString());
    dir.mkpath(QStringLiteral("run"));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toLocal8Bit());
    qputenv("PATH", dir.filePath(QStringLiteral("bin")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", dir.filePath(QStringLiteral("xdg")).toLocal8Bit());
    qputenv("DISPLAY", x.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("XDG_CURRENT_DESKTOP");

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tst_about test(x, work.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_about.moc"
