// The show under the screen lockers and savers of Debian, the real ones: each
// runs one show per monitor inside windows of its own, and the show must fill
// every monitor, play the songs once, live through a locker's request to
// start afresh, and leave nothing behind when the daemon is done.

#include <QDir>
#include <QTest>

#include <grp.h>
#include <unistd.h>

#include "support/Desktop.h"
#include "support/Sound.h"

using namespace vz::test;

namespace {

const QRect kMonitors[] = {QRect(0, 0, 1024, 768), QRect(1024, 0, 1024, 768)};
constexpr uid_t kNobody = 65534;

// The processes that run the program's copy; an ended one that is not yet
// reaped has no program file any more.
QSet<qint64> ours(const App &app)
{
    QSet<qint64> pids;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) == app.filePath(QStringLiteral("veroridovuz")))
            pids << pid.toLongLong();
    return pids;
}

// Every monitor shows one of the two pictures (100 x 51, green or blue; the
// message of a hack that failed is red on black), centred.
bool picturesEverywhere(const XServer &x)
{
    const QImage shot = x.screenshot();
    for (QRect m : kMonitors)
        for (QPoint d : {QPoint(0, 0), QPoint(-45, -20), QPoint(45, 20)})
            if (!near(shot.pixel(m.center() + d), Qt::green) && !near(shot.pixel(m.center() + d), Qt::blue))
                return false;
    return true;
}

// Two monitors side by side, two pictures a second apart.
struct Desk {
    XServer x{QSize(2048, 768)};
    App app{x};
    bool ok()
    {
        writePictureList(app, QStringLiteral("1"), {solidPicture(app, QStringLiteral("a.bmp"), {100, 51}, Qt::green),
                                                    solidPicture(app, QStringLiteral("b.bmp"), {100, 51}, Qt::blue)});
        return x.addMonitor(QStringLiteral("VZL"), kMonitors[0], true, QStringLiteral("screen")) &&
               x.addMonitor(QStringLiteral("VZR"), kMonitors[1], false, QStringLiteral("none"));
    }
};

} // namespace

class tst_lockers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // xsecurelock runs the show as "-root" in each monitor's window and asks
    // for a fresh start (SIGUSR1) whenever its password prompt closes. Its
    // prompt here is a stand-in that takes one key: "y" unlocks.
    void xsecurelock()
    {
        Desk desk;
        QVERIFY(desk.ok());
        SoundServer sound;
        QVERIFY(sound.ok());
        QVERIFY(makeTone(desk.app.filePath(QStringLiteral("song.wav")), 440, 60));
        desk.app.writeFile(QStringLiteral("RozM.ini"), " 1 \r\n" + desk.app.filePath(QStringLiteral("song.wav")).toUtf8() + "\r\n");
        desk.app.writeFile(QStringLiteral("auth_key"), "#!/bin/sh\nkey=$(head -c1)\ntouch \"$0.$key\"\n[ \"$key\" = y ]\n");
        QFile::setPermissions(desk.app.filePath(QStringLiteral("auth_key")), QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment env = desk.app.env();
        env.insert(QStringLiteral("PULSE_SERVER"), sound.address());
        env.insert(QStringLiteral("XSECURELOCK_SAVER"), desk.app.filePath(QStringLiteral("veroridovuz")));
        env.insert(QStringLiteral("XSECURELOCK_AUTH"), desk.app.filePath(QStringLiteral("auth_key")));
        env.insert(QStringLiteral("XSECURELOCK_SAVER_RESET_ON_AUTH_CLOSE"), QStringLiteral("1"));
        env.insert(QStringLiteral("XSECURELOCK_DISCARD_FIRST_KEYPRESS"), QStringLiteral("0"));
        env.insert(QStringLiteral("XSECURELOCK_NO_COMPOSITE"), QStringLiteral("1")); // Xvfb has no compositor
        QProcess locker;
        locker.setProcessEnvironment(env);
        locker.start(QStringLiteral("xsecurelock"));
        QVERIFY(waitFor([&] { return picturesEverywhere(desk.x); }, 10000));
        const QSet<qint64> shows = ours(desk.app);
        QCOMPARE(shows.size(), 2);

        // A prompt that closes without unlocking: the same shows go on.
        desk.x.key(QStringLiteral("n"));
        QVERIFY(waitFor([&] { return QFile::exists(desk.app.filePath(QStringLiteral("auth_key.n"))); }));
        QVERIFY(!waitFor([&] { return ours(desk.app) != shows; }, 1500));
        QVERIFY(picturesEverywhere(desk.x));

        // One song, heard once: one stream to the sound server.
        QProcessEnvironment pulse = desk.x.env();
        pulse.insert(QStringLiteral("PULSE_SERVER"), sound.address());
        const auto streams = [&] { return run(QStringLiteral("pactl"), {"list", "short", "sink-inputs"}, pulse).out.count('\n'); };
        QVERIFY(waitFor([&] { return streams() == 1; }));
        QVERIFY(!waitFor([&] { return streams() != 1; }, 1500));
        QCOMPARE(ours(desk.app), shows);

        desk.x.key(QStringLiteral("y"));
        QVERIFY(locker.waitForFinished(10000));
        QCOMPARE(locker.exitCode(), 0);
        QVERIFY(waitFor([&] { return ours(desk.app).isEmpty(); }, 2000));
    }

    // xscreensaver 6 with the show as its only hack runs it in a window on
    // each monitor; it refuses to run hacks as root, so it runs as nobody.
    void xscreensaver()
    {
        if (::geteuid() != 0)
            QSKIP("the program's folders are handed to the user nobody only by root");
        Desk desk;
        QVERIFY(desk.ok());
        const QString home = desk.app.env().value(QStringLiteral("HOME"));
        QFile config(home + QStringLiteral("/.xscreensaver"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\nsplash: False\n"
                     "programs: " + desk.app.filePath(QStringLiteral("veroridovuz")).toUtf8() + " -root \\n\n");
        config.close();
        // The program's folders become nobody's; its copy and the pictures are
        // read through folders that anyone may pass.
        const QString top = QFileInfo(desk.app.folder()).path();
        QFile::setPermissions(top, QFile::permissions(top) | QFile::ExeOther);
        for (const QString &path : {home, config.fileName(), desk.app.configHome(), desk.app.env().value(QStringLiteral("XDG_RUNTIME_DIR"))})
            QVERIFY(::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0);
        const auto asNobody = [&](QProcess &p, const QString &program, const QStringList &args) {
            p.setProcessEnvironment(desk.app.env());
            p.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                    ::_exit(126);
            });
            p.start(program, args);
        };
        const auto command = [&](const QString &what) {
            QProcess c;
            asNobody(c, QStringLiteral("xscreensaver-command"), {what});
            return c.waitForFinished(10000) && c.exitCode() == 0;
        };
        QProcess daemon;
        asNobody(daemon, QStringLiteral("xscreensaver"), {"-no-splash"});
        // Until the daemon has announced itself, the command finds none.
        QVERIFY(waitFor([&] { return command(QStringLiteral("-activate")); }, 15000));
        QVERIFY(waitFor([&] { return picturesEverywhere(desk.x); }, 10000));
        QCOMPARE(ours(desk.app).size(), 2);

        QVERIFY(command(QStringLiteral("-deactivate")));
        QVERIFY(waitFor([&] { return ours(desk.app).isEmpty(); }, 2000));
        QCOMPARE(daemon.state(), QProcess::Running);
        daemon.terminate();
        daemon.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(tst_lockers)
#include "tst_lockers.moc"
