// The show as a screen-saver daemon uses it: drawn inside the daemon's window,
// leaving the input to the daemon, and ended by a signal.

#include <QElapsedTimer>
#include <QTest>

#include <csignal>

#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QString kShow = QStringLiteral("^Veroridovuz$");

void writeShow(const App &app, const QString &interval)
{
    writePictureList(app, interval, {solidPicture(app, QStringLiteral("p.bmp"), {100, 51}, Qt::red)});
}

// Sends the signal and returns how long the program took to end, or -1.
qint64 endBySignal(App &app, int signal)
{
    QElapsedTimer t;
    t.start();
    ::kill(pid_t(app.pid()), signal);
    return app.waitForExit(5000) ? t.elapsed() : -1;
}

} // namespace

class tst_host : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void drawsInsideTheHostWindowAndLeavesInputAlone_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("-window-id decimal") << "arg-dec";
        QTest::newRow("-window-id hex") << "arg-hex";
        QTest::newRow("XSCREENSAVER_WINDOW") << "env";
    }
    void drawsInsideTheHostWindowAndLeavesInputAlone()
    {
        QFETCH(QString, how);
        XServer x;
        App app(x);
        writeShow(app, QStringLiteral("3"));
        QProcess host;
        host.setProcessEnvironment(x.env());
        host.start(QStringLiteral(VZ_HOSTWINDOW), {"100", "80", "640", "480"});
        QVERIFY(host.waitForReadyRead(5000));
        const qulonglong id = host.readAllStandardOutput().trimmed().toULongLong();
        QVERIFY(id);
        QStringList args;
        if (how == u"arg-dec")
            args << QStringLiteral("-window-id") << QString::number(id);
        else if (how == u"arg-hex")
            args << QStringLiteral("-window-id") << QStringLiteral("0x") + QString::number(id, 16);
        else
            app.setEnv(QStringLiteral("XSCREENSAVER_WINDOW"), QStringLiteral("0x") + QString::number(id, 16));
        x.mouseMove(700, 600);
        app.start(args);

        // The backdrop fills the host window: its dark blue inside, the white
        // host gone, the screen outside untouched.
        QVERIFY(waitFor([&] {
            const QImage s = x.screenshot();
            return qBlue(s.pixel(110, 90)) > 40 && !near(s.pixel(110, 90), Qt::white) &&
                   qBlue(s.pixel(730, 550)) < 250;
        }, 5000));
        x.keepShot(QStringLiteral("host-backdrop"));
        // A 100 x 51 picture centred in 640 x 480: at (270, 214 or 215) of it.
        QVERIFY(waitFor([&] { return near(x.screenshot().pixel(100 + 320, 80 + 240), Qt::red); }, 8000));
        const QImage shot = x.screenshot();
        x.keepShot(QStringLiteral("host-picture"));
        QVERIFY(near(shot.pixel(100 + 270, 80 + 240), Qt::red));
        QVERIFY(!near(shot.pixel(100 + 269, 80 + 240), Qt::red));
        QVERIFY(near(shot.pixel(100 + 369, 80 + 240), Qt::red));
        QVERIFY(!near(shot.pixel(100 + 370, 80 + 240), Qt::red));
        const int top = near(shot.pixel(420, 80 + 214), Qt::red) ? 214 : 215;
        QVERIFY(!near(shot.pixel(420, 80 + top - 1), Qt::red));
        QVERIFY(near(shot.pixel(420, 80 + top + 50), Qt::red));

        // The host owns input and cursor: moving and clicking change nothing.
        QVERIFY(cursorIsBlank(x.display()) == false);
        x.mouseMove(300, 300);
        x.click();
        QVERIFY(!app.waitForExit(800));
        const qint64 ms = endBySignal(app, SIGTERM);
        qInfo() << "ended" << ms << "ms after SIGTERM";
        QVERIFY(ms >= 0 && ms <= scaledMs(200));
        QCOMPARE(app.exitCode(), 0);
        host.kill();
        host.waitForFinished();
    }

    void signalsEndTheShowLikeItsOwnExit_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalsEndTheShowLikeItsOwnExit()
    {
        QFETCH(int, signal);
        XServer x;
        App app(x);
        writeShow(app, QStringLiteral("1"));
        app.start({QStringLiteral("/s")});
        QVERIFY(waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); }));
        QVERIFY(waitFor([&] { return cursorIsBlank(x.display()) == true; }));
        // Settled: the first picture is up.
        QVERIFY(waitFor([&] { return near(x.screenshot().pixel(512, 384), Qt::red); }, 5000));
        const qint64 ms = endBySignal(app, signal);
        QVERIFY2(ms >= 0 && ms <= scaledMs(200), qPrintable(QString::number(ms)));
        QCOMPARE(app.exitCode(), 0);
        // The cursor comes back with the end (the root window's own cursor).
        QVERIFY(cursorIsBlank(x.display()) == false);
    }

    // A window id that names no window ends the show at once, never a
    // full-screen show that takes the keyboard.
    void missingHostWindowEndsQuietly_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("no such window") << "0x7fffff";
        QTest::newRow("0") << "0";
        QTest::newRow("not a number") << "screen";
    }
    void missingHostWindowEndsQuietly()
    {
        QFETCH(QString, id);
        XServer x;
        App app(x);
        writeShow(app, QStringLiteral("1"));
        const RunResult r = app.runToEnd({QStringLiteral("-window-id"), id}, 10000);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(x.windowsNamed(kShow).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_host)
#include "tst_host.moc"
