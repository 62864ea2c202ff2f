// The show as the command of an idle daemon: xss-lock runs "veroridovuz /S"
// when the X server's screen saver comes on, and the show ends on activity.
// xss-lock also talks to the system's login manager; the test gives it one of
// its own (tests/tools/logind.cpp) on a private message bus.

#include <QFile>
#include <QProcess>
#include <QTest>

#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QString kShow = QStringLiteral("^Veroridovuz$");

void stop(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(2000);
    }
}

// A message bus of the test's own (with the session bus's open rules), with
// the stand-in login manager on it.
class SystemBus
{
public:
    SystemBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!waitFor([&] { return m_daemon.canReadLine() || m_daemon.state() == QProcess::NotRunning; }, 20000)
            || !m_daemon.canReadLine())
            return;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_logind.start(QStringLiteral(VZ_LOGIND), {m_address});
        if (!waitFor([&] { return calls().contains(QStringLiteral("ready")); }, 20000))
            m_address.clear();
    }
    ~SystemBus()
    {
        stop(m_logind);
        stop(m_daemon);
    }

    bool ok() const { return !m_address.isEmpty(); }
    const QString &address() const { return m_address; }
    // What the login manager was asked so far, one call a line.
    QStringList calls()
    {
        while (m_logind.canReadLine())
            m_calls << QString::fromUtf8(m_logind.readLine()).trimmed();
        return m_calls;
    }

private:
    QProcess m_daemon;
    QProcess m_logind;
    QString m_address;
    QStringList m_calls;
};

// The process behind the visible show window, 0 while there is none.
qint64 showPid(const XServer &x)
{
    const QStringList windows = x.windowsNamed(kShow);
    if (windows.size() != 1)
        return 0;
    return x.xdo({QStringLiteral("getwindowpid"), windows.first()}).toLongLong();
}

} // namespace

class tst_idle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void xssLockStartsTheShowAtEveryIdle()
    {
        XServer x;
        QVERIFY(x.ok());
        SystemBus bus;
        QVERIFY2(bus.ok(), "private message bus with the login manager");
        App app(x);
        writePictureList(app, QStringLiteral("1"), {solidPicture(app, QStringLiteral("p.bmp"), {100, 51}, Qt::red)});

        // The screen saver comes on after one second without input.
        QVERIFY(run(QStringLiteral("xset"), {"s", "1", "0"}, x.env()).exitCode == 0);
        x.mouseMove(500, 500);
        QProcess daemon;
        QProcessEnvironment env = app.env();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.address());
        daemon.setProcessEnvironment(env);
        daemon.setWorkingDirectory(app.folder());
        daemon.start(QStringLiteral("xss-lock"),
                     {QStringLiteral("--"), app.filePath(QStringLiteral("veroridovuz")), QStringLiteral("/S")});
        QVERIFY(daemon.waitForStarted(10000));

        qint64 previous = 0;
        for (int round = 1; round <= 2; ++round) {
            // Idle: the daemon starts the show, which puts up its picture.
            qint64 pid = 0;
            QVERIFY2(waitFor([&] { return (pid = showPid(x)) > 0 && pid != previous; }, 30000),
                     qPrintable(QStringLiteral("round %1: %2").arg(round).arg(
                         QString::fromUtf8(daemon.readAllStandardError()))));
            QVERIFY(waitFor([&] { return near(x.screenshot().pixel(512, 384), Qt::red); }, 10000));
            x.keepShot(QStringLiteral("idle-show-%1").arg(round));

            // Activity: the show ends, and the daemon sees its command end.
            x.mouseMove(300, 300 + round);
            // Its process is gone (the daemon reaps it) even if the next idle
            // has already brought up the next show.
            QVERIFY(waitFor([&] { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); }, 10000));
            QVERIFY(waitFor([&] { return bus.calls().count(QStringLiteral("SetLockedHint false")) == round; }));
            QCOMPARE(daemon.state(), QProcess::Running);
            previous = pid;
        }
        QVERIFY(bus.calls().contains(QStringLiteral("GetSessionByPID %1").arg(daemon.processId())));
        stop(daemon);
    }
};

QTEST_GUILESS_MAIN(tst_idle)
#include "tst_idle.moc"
