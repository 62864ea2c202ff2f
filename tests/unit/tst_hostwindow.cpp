// The show inside screen-saver daemons' windows: which window it takes, what
// becomes of it when that window goes, the music among several such shows,
// and a locker's request to start afresh. On a private X server.

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <csignal>
#include <cstdio>

#include "platform/Termination.h"
#include "runtime/Program.h"
#include "platform/posix/LockClaim.h"
#include "platform/x11/X11HostWindow.h"
#include "startup/Module1.h"
#include "support/Desktop.h"

#include <X11/Xlib.h>

using namespace vz;

class tst_hostwindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // -1: no host, a show of its own. The root window is 7 here.
    void hostChoice_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("variable"); // $XSCREENSAVER_WINDOW
        QTest::addColumn<qint64>("host");
        QTest::newRow("nothing") << QStringList{"/s"} << "" << qint64(-1);
        QTest::newRow("-root") << QStringList{"-root"} << "" << qint64(7);
        QTest::newRow("--root, as xscreensaver 6 writes it") << QStringList{"--root"} << "" << qint64(7);
        QTest::newRow("-root in a daemon's window") << QStringList{"-root"} << "42" << qint64(42);
        QTest::newRow("--root in a daemon's window, hex") << QStringList{"--root"} << "0x2A" << qint64(42);
        QTest::newRow("the variable alone") << QStringList{"/s"} << "42" << qint64(42);
        QTest::newRow("-window-id wins") << QStringList{"-root", "-window-id", "0x10"} << "42" << qint64(16);
        QTest::newRow("--window-id") << QStringList{"--window-id", "16"} << "" << qint64(16);
        QTest::newRow("-window-id without a number") << QStringList{"-window-id"} << "42" << qint64(0);
        QTest::newRow("-root in a window that is no number") << QStringList{"-root"} << "screen" << qint64(0);
    }
    void hostChoice()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, variable);
        QFETCH(qint64, host);
        struct Root final : HostWindow {
            quintptr rootWindow() const override { return 7; }
            bool embed(QWidget &, quintptr) override { return false; }
        } root;
        const auto chosen = hostWindowFor(args, variable, root);
        QCOMPARE(chosen ? qint64(*chosen) : -1, host);
    }

    // Beside a running show only a show of its own is refused: a daemon runs
    // one inside each monitor's window.
    void embeddedShowsRunBesideOthers()
    {
        struct Running final : Instance {
            bool prevInstance() const override { return true; }
            bool findWindow(const QString &) const override { return true; }
        };
        for (const bool embedded : {true, false}) {
            Services s;
            s.instance = std::make_unique<Running>();
            Program program(QDir::tempPath(), std::move(s));
            if (embedded)
                program.setHostWindow(42);
            CheckInstance(program);
            QCOMPARE(program.hasEnded(), !embedded);
        }
    }

    // The host's end is reported; Qt's stand-in for the host's window goes
    // with the show.
    void hostWindowsEnd()
    {
        X11HostWindow hosts;
        QSignalSpy ended(&hosts, &HostWindow::hostDestroyed);
        Display *d = XOpenDisplay(nullptr);
        const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 300, 200, 0, 0, 0);
        XMapWindow(d, w);
        XSync(d, False);
        auto *show = new QWidget;
        QVERIFY(hosts.embed(*show, w));
        show->show();
        const QPointer<QWindow> foreign = show->windowHandle()->parent();
        QVERIFY(foreign);
        QVERIFY(!ended.wait(300));
        XDestroyWindow(d, w);
        XSync(d, False);
        QVERIFY(ended.wait(1000));
        QCOMPARE(ended.takeFirst().at(0).value<quintptr>(), quintptr(w));
        delete show;
        QVERIFY(foreign.isNull());
        XCloseDisplay(d);
    }

    // A claim held by another process is gained the moment that process is
    // killed; a claim of another display is free meanwhile.
    void musicClaimOutlivesItsHolder()
    {
        QTemporaryDir dir;
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold-claim", LockClaim::fileFor(dir.path(), ":7.0")});
        QVERIFY(holder.waitForReadyRead(10000) && holder.readLine() == "held\n");
        LockClaim same(LockClaim::fileFor(dir.path(), ":7")), other(LockClaim::fileFor(dir.path(), ":8"));
        QSignalSpy gained(&same, &MusicClaim::gained);
        same.request();
        other.request();
        QVERIFY(other.held() && !same.held());
        QVERIFY(!gained.wait(1200));
        holder.kill();
        QVERIFY(holder.waitForFinished(5000));
        QVERIFY(gained.wait(int(vz::test::scaledMs(1200))));
        QVERIFY(same.held() && gained.size() == 1);
    }

    // SIGUSR1 asks for a fresh start and ends nothing; SIGHUP still ends.
    void lockerResetIsNoEnd()
    {
        Termination termination;
        QSignalSpy reset(&termination, &Termination::reset), requested(&termination, &Termination::requested);
        ::raise(SIGUSR1);
        QVERIFY(reset.wait(2000));
        QVERIFY(requested.isEmpty());
        ::raise(SIGHUP);
        QVERIFY(requested.wait(2000));
        QCOMPARE(requested.takeFirst().at(0).toInt(), SIGHUP);
        QCOMPARE(reset.size(), 1);
    }
};

int main(int argc, char *argv[])
{
    // A second copy of this test only holds the music claim until it is killed.
    if (argc == 3 && QByteArray(argv[1]) == "--hold-claim") {
        QCoreApplication app(argc, argv);
        LockClaim claim(QString::fromLocal8Bit(argv[2]));
        claim.request();
        std::puts(claim.held() ? "held" : "refused");
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    const vz::test::XServer x;
    qputenv("DISPLAY", x.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tst_hostwindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hostwindow.moc"
