// The show as a user and as a screen-saver daemon meet it: the real program
// on a private X server, real pictures, real input and signals; drawn full
// screen or inside a host's window; started by the switches, by a second copy
// and by an idle daemon.

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>
#include <csignal>
#include <cmath>

#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QString kShow = QStringLiteral("^Veroridovuz$");
const QString kSettings = QStringLiteral("^Veroridovuz - Select Graphics$");

// Whether the area shows the picture centred (either pixel where the centre
// falls on a half) on black, pixel for pixel.
bool showsCentred(const QImage &shot, QRect area, const QImage &picture)
{
    const double x = area.left() + (area.width() - picture.width()) / 2.0;
    const double y = area.top() + (area.height() - picture.height()) / 2.0;
    for (const QPoint corner : {QPoint(std::floor(x), std::floor(y)), QPoint(std::ceil(x), std::floor(y)),
                                QPoint(std::floor(x), std::ceil(y)), QPoint(std::ceil(x), std::ceil(y))}) {
        bool same = true;
        for (int j = area.top(); same && j <= area.bottom(); ++j)
            for (int i = area.left(); same && i <= area.right(); ++i) {
                const QPoint p = QPoint(i, j) - corner;
                const QRgb want = picture.rect().contains(p) ? picture.pixel(p) : 0;
                same = (shot.pixel(i, j) & 0xffffff) == (want & 0xffffff);
            }
        if (same)
            return true;
    }
    return false;
}

// The backdrop's own colours are a dark blue.
bool backdropAt(const QImage &shot, QPoint p)
{
    const QRgb c = shot.pixel(p);
    return qBlue(c) > 40 && qBlue(c) > qRed(c) && !near(c, Qt::white);
}

} // namespace

class tst_show : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // host: how the host's window is named ("" none); end: what ends the show.
    void show_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("end");
        QTest::newRow("/s: in order, one-pixel move") << QStringList{"/s"} << "" << "1" << 1 << "move";
        QTest::newRow("no switch: click") << QStringList{} << "" << "1" << 1 << "click";
        QTest::newRow("-s: bad interval, key") << QStringList{"-s"} << "" << "abc" << 1 << "key";
        QTest::newRow("/A at scale 2: SIGINT") << QStringList{"/A"} << "" << "1" << 2 << "SIGINT";
        QTest::newRow("-window-id decimal") << QStringList{"-window-id"} << "dec" << "1" << 1 << "SIGTERM";
        QTest::newRow("-window-id hex") << QStringList{"-window-id"} << "hex" << "1" << 1 << "SIGINT";
        QTest::newRow("XSCREENSAVER_WINDOW") << QStringList{} << "env" << "1" << 1 << "SIGHUP";
        QTest::newRow("-root in XSCREENSAVER_WINDOW, destroyed") << QStringList{"-root"} << "env" << "1" << 1 << "destroy";
    }
    void show()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, host);
        QFETCH(QString, interval);
        QFETCH(int, scale);
        QFETCH(QString, end);
        XServer x;
        App app(x);
        QList<QImage> pictures;
        QStringList files;
        for (QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
            files << solidPicture(app, QStringLiteral("p%1.bmp").arg(files.size()), {100, 51}, c);
            pictures << QImage(files.last());
        }
        if (scale != 1) {
            // Larger than the screen, then of odd size; no pixel like its neighbour.
            pictures.clear();
            for (QSize size : {QSize(1200, 900), QSize(201, 101)}) {
                QImage img(size, QImage::Format_RGB32);
                for (int y = 0; y < size.height(); ++y)
                    for (int i = 0; i < size.width(); ++i)
                        img.setPixel(i, y, qRgb((i * 7) & 255, (y * 5) & 255, 64 + ((i + y) & 127)));
                img.save(files[pictures.size()], "BMP");
                pictures << img;
            }
            files = files.mid(0, 2);
            app.setEnv(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        }
        writePictureList(app, interval, files);

        QRect area(QPoint(0, 0), x.size());
        Display *display = nullptr;
        Window w = 0;
        if (!host.isEmpty()) {
            area = QRect(100, 80, 640, 480);
            display = XOpenDisplay(x.display().toLocal8Bit().constData());
            XSetWindowAttributes attrs = {};
            attrs.background_pixel = WhitePixel(display, 0);
            attrs.override_redirect = True;
            w = XCreateWindow(display, DefaultRootWindow(display), 100, 80, 640, 480, 0, CopyFromParent,
                                           InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attrs);
            XMapWindow(display, w);
            XSync(display, False);
            const QString id = host == u"hex" ? QStringLiteral("0x") + QString::number(w, 16) : QString::number(w);
            if (host == u"env")
                app.setEnv(QStringLiteral("XSCREENSAVER_WINDOW"), id);
            else
                args << id;
        }
        x.mouseMove(500, 500);
        app.start(args);
        if (host.isEmpty()) {
            const auto window = x.waitForWindow(kShow);
            QVERIFY(window);
            QCOMPARE(window->second, area);
        }
        // Inside a host the first picture follows as soon as it is decoded.
        QVERIFY(!host.isEmpty() || waitFor([&] { return backdropAt(x.screenshot(), area.topLeft() + QPoint(10, 10)); }, 5000));
        // The cursor hidden over the show; inside a host it is the host's.
        QCOMPARE(x.cursorIsBlank(), std::optional<bool>(host.isEmpty()));

        // Which picture is up, told by the centre pixel (pictures of one colour)
        // or, at scale 2, by every pixel; then one of them exactly in place.
        QList<int> seen;
        const int rounds = scale != 1 ? 2 : QTest::currentDataTag() == QByteArray("/s: in order, one-pixel move") ? 4 : 1;
        const auto shownNow = [&](const QImage &shot) {
            for (int i = 0; i < pictures.size(); ++i)
                if (scale == 1 ? shot.pixel(area.center()) == pictures[i].pixel(0, 0) : showsCentred(shot, area, pictures[i]))
                    return i;
            return -1;
        };
        QVERIFY(interval == u"1" || !waitFor([&] { return !backdropAt(x.screenshot(), area.topLeft() + QPoint(10, 10)); }, 1500));
        QVERIFY(interval != u"1" || waitFor([&] {
            const int now = shownNow(x.screenshot());
            if (now >= 0 && (seen.isEmpty() || seen.last() != now))
                seen << now;
            return seen.size() >= rounds;
        }, 15000));
        if (rounds == 4)
            QCOMPARE(seen, (QList<int>{0, 1, 2, 0}));
        QVERIFY(interval != u"1" || waitFor([&] {
            const QImage shot = x.screenshot();
            const int now = shownNow(shot);
            return now >= 0 && showsCentred(shot, area, pictures[now]);
        }));

        // An event without movement, and any input to a host's window, leave it running.
        x.mouseMove(0, 0);
        if (!host.isEmpty()) {
            x.mouseMove(300, 300);
            x.click();
        }
        QVERIFY(!app.waitForExit(int(scaledMs(250))));
        qint64 ms = 0;
        QElapsedTimer t;
        t.start();
        if (end == u"move")
            x.mouseMove(0, 1);
        else if (end == u"click")
            x.click();
        else if (end == u"key")
            x.key(QStringLiteral("space"));
        else {
            if (end == u"destroy") {
                XDestroyWindow(display, w);
                XSync(display, False);
            } else {
                ::kill(pid_t(app.pid()), end == u"SIGHUP" ? SIGHUP : end == u"SIGINT" ? SIGINT : SIGTERM);
            }
            ms = app.waitForExit(5000) ? t.elapsed() : -1;
        }
        // A daemon that destroys its window is done with the show, as one that signals.
        QVERIFY2(ms >= 0 && ms <= scaledMs(200), qPrintable(QString::number(ms)));
        QVERIFY(app.waitForExit(5000));
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(x.cursorIsBlank(), std::optional<bool>(false));
        if (display)
            XCloseDisplay(display);
    }

    // An empty list: the message with the cursor back, then the settings
    // dialog instead of the show, which alone keeps the program running.
    void emptyListGivesWayToTheSettings()
    {
        XServer x;
        App app(x);
        writePictureList(app, QStringLiteral("1"), {});
        app.start({QStringLiteral("/")});
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).size() == 2; }));
        QCOMPARE(x.cursorIsBlank(), std::optional<bool>(false));
        x.key(QStringLiteral("Return"));
        QVERIFY(x.activate(kSettings));
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).isEmpty(); }));
        x.key(QStringLiteral("alt+c"));
        QVERIFY(app.waitForExit());
        QCOMPARE(app.readFile(QStringLiteral("RozG.ini")), QByteArray("1\r\n 0 \r\n"));
    }

    // A picture that goes while the show runs: one message, then the end.
    void vanishedPictureEndsTheProgram()
    {
        XServer x;
        App app(x);
        const QString a = solidPicture(app, QStringLiteral("a.bmp"), {100, 51}, Qt::red);
        const QString b = solidPicture(app, QStringLiteral("b.bmp"), {100, 51}, Qt::blue);
        writePictureList(app, QStringLiteral("1"), {a, b});
        app.start({QStringLiteral("/S:9")});
        QVERIFY(waitFor([&] { return near(x.screenshot().pixel(512, 384), Qt::red); }));
        QVERIFY(QFile::remove(b));
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).size() == 2; }));
        QVERIFY(!waitFor([&] { return x.windowsNamed(kShow).size() > 2; }, 1500));
        x.key(QStringLiteral("Return"));
        QVERIFY(app.waitForExit(5000));
        QCOMPARE(app.exitCode(), 0);
    }

    // A key while a large picture is still being decoded ends the show at
    // once, and nothing of the show is left in the temporary folder (a short
    // song playing meanwhile).
    void keyDuringADecodeEndsAtOnce()
    {
        XServer x;
        App app(x);
        QImage big(8000, 6000, QImage::Format_RGB32);
        for (int y = 0; y < big.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(big.scanLine(y));
            for (int i = 0; i < big.width(); ++i)
                line[i] = qRgb(i / 32, y / 24, (i + y) / 56);
        }
        QImageWriter writer(app.filePath(QStringLiteral("big.jpg")));
        writer.setProgressiveScanWrite(true);
        QVERIFY(writer.write(big));
        writePictureList(app, QStringLiteral("1"), {app.filePath(QStringLiteral("big.jpg"))});
        app.writeFile(QStringLiteral("RozM.ini"), " 1 \r\n" VZ_TEST_DATA "/music/1320-f64-10ms.wav\r\n");
        QTemporaryDir temp;
        app.setEnv(QStringLiteral("TMPDIR"), temp.path());
        app.setEnv(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vz.show.debug=true"));
        const auto ours = [&] { return QDir(temp.path()).entryList({QStringLiteral("vz-*")}, QDir::Files); };
        app.start({QStringLiteral("/s")});
        // The music has started and the picture's decode starts.
        QVERIFY(waitFor([&] { return app.stderrText().contains("loaded"); }));
        // Timed from the key, which the tool sends as it ends (starting it
        // takes tens of milliseconds on a busy machine).
        x.key(QStringLiteral("space"));
        QElapsedTimer t;
        t.start();
        QVERIFY(app.waitForExit(5000));
        QVERIFY2(t.elapsed() <= scaledMs(200), qPrintable(QString::number(t.elapsed())));
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(ours(), QStringList());
    }

    // A window id naming no usable window ends the show at once, and quietly.
    void unusableHostWindowEndsQuietly()
    {
        XServer x;
        App app(x);
        writePictureList(app, QStringLiteral("1"), {solidPicture(app, QStringLiteral("p.bmp"), {100, 51}, Qt::red)});
        for (const char *id : {"0x7fffff", "0", "screen"}) {
            app.start({QStringLiteral("-window-id"), QString::fromLatin1(id)});
            QVERIFY2(app.waitForExit(10000) && app.exitCode() == 0, id);
        }
    }

    // xss-lock runs "veroridovuz /S" each time the X server's screen saver
    // comes on; activity ends the show. xss-lock talks to the login manager:
    // the test gives it one of its own on a private message bus.
    void idleDaemonStartsTheShowAtEveryIdle()
    {
        XServer x;
        App app(x);
        writePictureList(app, QStringLiteral("1"), {solidPicture(app, QStringLiteral("p.bmp"), {100, 51}, Qt::red)});
        QProcess bus, logind, daemon;
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        QVERIFY(waitFor([&] { return bus.canReadLine(); }, 20000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        logind.start(QStringLiteral(VZ_LOGIND), {address});
        QVERIFY(waitFor([&] { return logind.canReadLine(); }, 20000));
        QCOMPARE(run(QStringLiteral("xset"), {"s", "1", "0"}, x.env()).exitCode, 0);
        QProcessEnvironment env = app.env();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
        daemon.setProcessEnvironment(env);
        daemon.setWorkingDirectory(app.folder());
        daemon.start(QStringLiteral("xss-lock"), {"--ignore-sleep", "--", app.filePath(QStringLiteral("veroridovuz")), "/S"});
        qint64 previous = 0;
        for (int round = 1; round <= 2; ++round) {
            qint64 pid = 0;
            QVERIFY2(waitFor([&] {
                const QStringList shows = x.windowsNamed(kShow);
                pid = shows.size() == 1 ? x.xdo({"getwindowpid", shows.first()}).toLongLong() : 0;
                return pid > 0 && pid != previous;
            }, 30000), daemon.readAllStandardError().constData());
            // The second show is watched up to its picture.
            QVERIFY(round == 1 || waitFor([&] { return near(x.screenshot().pixel(512, 384), Qt::red); }));
            x.mouseMove(300, 300 + round);
            QVERIFY(waitFor([&] { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); }));
            QCOMPARE(daemon.state(), QProcess::Running);
            previous = pid;
        }
        for (QProcess *p : {&daemon, &logind, &bus}) {
            p->terminate();
            p->waitForFinished(5000);
        }
    }
};

QTEST_GUILESS_MAIN(tst_show)
#include "tst_show.moc"
