// Two monitors, the show on the primary and a cover on the other, or a
// picture on each with "AllMonP"; an install
// its user cannot write, with each user's lists in their configuration folder.

#include <QTest>
#include <sys/mount.h>
#include <unistd.h>

#include "platform/qt/NativeSettingsStore.h"
#include "runtime/Program.h"
#include "settings/PictureSettings.h"
#include "support/Desktop.h"
#include "support/Faults.h"

using namespace vz::test;

namespace {

const QString kShow = QStringLiteral("^Veroridovuz$");
const QString kPictures = QStringLiteral("^Veroridovuz - Select Graphics$");
const QString kMusic = QStringLiteral("^Veroridovuz - Select Music$");
const QRect kLeft(0, 0, 1024, 768), kRight(1024, 0, 1024, 768);

// Whether the screenshot shows the backdrop, as designed, at the top-left
// corner of show and black all over cover.
bool showAndCover(const QImage &shot, QRect show, QRect cover)
{
    static const QImage backdrop(QStringLiteral(VZ_TEST_DATA "/../../resources/backdrop.jpg"));
    if (shot.isNull() || backdrop.isNull())
        return false;
    for (int y = 40; y < 768; y += 180)
        for (int x = 40; x < 1024; x += 240)
            if (!near(shot.pixelColor(show.topLeft() + QPoint(x, y)), backdrop.pixelColor(x, y))
                || !near(shot.pixelColor(cover.topLeft() + QPoint(x, y)), Qt::black, 8))
                return false;
    return true;
}

} // namespace

class tst_desktops : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showCoversEveryOtherMonitor_data()
    {
        QTest::addColumn<bool>("primaryRight");
        QTest::addColumn<bool>("addedLater");
        QTest::addColumn<QPoint>("moveTo"); // (-1, -1): a click where the cursor is
        // The cursor is parked at (0, 0), on the cover when the primary is the right one.
        QTest::newRow("one pixel on the cover") << true << false << QPoint(1, 0);
        QTest::newRow("click on the cover") << true << false << QPoint(-1, -1);
        QTest::newRow("onto the cover") << false << false << QPoint(1500, 300);
        QTest::newRow("monitor added during the show") << false << true << QPoint(1500, 300);
    }
    void showCoversEveryOtherMonitor()
    {
        QFETCH(bool, primaryRight);
        QFETCH(bool, addedLater);
        QFETCH(QPoint, moveTo);
        XServer x(QSize(2048, 768));
        QVERIFY(x.addMonitor(QStringLiteral("VZL"), kLeft, !primaryRight, QStringLiteral("screen")));
        if (!addedLater)
            QVERIFY(x.addMonitor(QStringLiteral("VZR"), kRight, primaryRight, QStringLiteral("none")));
        App app(x);
        app.start({QStringLiteral("/s")});
        if (addedLater) {
            QVERIFY(waitFor([&] { return x.windowsNamed(kShow).size() == 1; }));
            QVERIFY(x.addMonitor(QStringLiteral("VZR"), kRight, false, QStringLiteral("none")));
        }
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).size() == 2; }));
        const QRect show = primaryRight ? kRight : kLeft;
        const QRect cover = primaryRight ? kLeft : kRight;
        QVERIFY(waitFor([&] { return showAndCover(x.screenshot(), show, cover); }));
        QCOMPARE(x.cursorIsBlank(), std::optional<bool>(true));
        QVERIFY(app.running());

        if (moveTo.x() < 0)
            x.click();
        else
            x.mouseMove(moveTo.x(), moveTo.y());
        QVERIFY(app.waitForExit(int(scaledMs(5000))));
        QCOMPARE(app.exitCode(), 0);
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).isEmpty(); }));
        QCOMPARE(x.cursorIsBlank(), std::optional<bool>(false));
    }

    // With "AllMonP" each monitor shows a picture, two different ones of a
    // list of two, in order and at random; input on the other monitor ends it.
    void everyMonitorShowsAPicture_data()
    {
        QTest::addColumn<QString>("randomP");
        QTest::addColumn<bool>("addedLater");
        QTest::newRow("in order") << "0" << false;
        QTest::newRow("at random") << "1" << false;
        QTest::newRow("monitor added during the show") << "0" << true;
    }
    void everyMonitorShowsAPicture()
    {
        QFETCH(QString, randomP);
        QFETCH(bool, addedLater);
        XServer x(QSize(2048, 768));
        QVERIFY(x.addMonitor(QStringLiteral("VZL"), kLeft, true, QStringLiteral("screen")));
        if (!addedLater)
            QVERIFY(x.addMonitor(QStringLiteral("VZR"), kRight, false, QStringLiteral("none")));
        App app(x);
        app.setStored(QStringLiteral("AllMonP"), QStringLiteral("1"));
        app.setStored(QStringLiteral("RandomP"), randomP);
        const QList<QColor> colours{Qt::red, Qt::blue};
        writePictureList(app, QStringLiteral("1"), {solidPicture(app, QStringLiteral("r.bmp"), QSize(300, 200), colours[0]),
                                                    solidPicture(app, QStringLiteral("b.bmp"), QSize(300, 200), colours[1])});
        x.mouseMove(500, 500);
        app.start({QStringLiteral("/s")});
        if (addedLater) {
            QVERIFY(waitFor([&] { return x.windowsNamed(kShow).size() == 1; }));
            QVERIFY(x.addMonitor(QStringLiteral("VZR"), kRight, false, QStringLiteral("none")));
        }
        QVERIFY(waitFor([&] {
            const QImage shot = x.screenshot();
            const QColor left = shot.pixelColor(kLeft.center()), right = shot.pixelColor(kRight.center());
            return (near(left, colours[0]) && near(right, colours[1])) || (near(left, colours[1]) && near(right, colours[0]));
        }, 15000));
        x.mouseMove(1500, 300);
        QVERIFY(app.waitForExit());
    }

    void waylandSessionRunsOnX11()
    {
        XServer x;
        App app(x);
        // What a Wayland session says; the compositor here is only named.
        app.setEnv(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-vz-absent"));
        app.setEnv(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        app.setEnv(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        app.start({QStringLiteral("/s")});
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).size() == 1; }));
        x.key(QStringLiteral("space"));
        QVERIFY(app.waitForExit());
        QCOMPARE(app.exitCode(), 0);

        // Without XWayland there is nothing to show on: said, not crashed.
        app.setEnv(QStringLiteral("DISPLAY"), QString());
        const RunResult r = app.runToEnd({QStringLiteral("/s")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("needs an X display"), r.err.constData());
    }

    void readOnlyInstallKeepsEachUsersLists()
    {
        XServer x;
        App app(x);
        const QByteArray pictures = "3\r\n 1 \r\n/pictures/old.jpg\r\n";
        const QByteArray songs = " 1 \r\n/music/old.mp3\r\n";
        app.writeFile(QStringLiteral("RozG.ini"), pictures);
        app.writeFile(QStringLiteral("RozM.ini"), songs);
        // The program's folder on a read-only disk: not even root writes there.
        FolderFault readOnly(app, WriteFault::ReadOnlyFolder);
        if (!readOnly.unavailable().isEmpty())
            QSKIP(qPrintable(readOnly.unavailable()));
        readOnly.arm();
        const auto beside = snapshot(app.folder());
        const QDir own(app.configHome() + QStringLiteral("/Veroridovuz"));

        // The lists beside the program are the starting point; OK in both
        // dialogs saves them, unchanged, as the user's own.
        app.start({QStringLiteral("/c")});
        QVERIFY(x.activate(kPictures));
        x.key(QStringLiteral("alt+a"));
        QVERIFY(x.activate(kMusic));
        x.key(QStringLiteral("alt+o"));
        QVERIFY(waitFor([&] { return x.windowsNamed(kMusic).isEmpty(); }));
        QVERIFY(x.activate(kPictures));
        x.key(QStringLiteral("alt+o"));
        QVERIFY(app.waitForExit());
        QCOMPARE(app.readFile(own.filePath(QStringLiteral("RozG.ini"))), pictures);
        QCOMPARE(app.readFile(own.filePath(QStringLiteral("RozM.ini"))), songs);
        QCOMPARE(snapshot(app.folder()), beside);

        // From then on the user's own list is the one read and saved.
        const QByteArray mine = "7\r\n 0 \r\n";
        app.writeFile(own.filePath(QStringLiteral("RozG.ini")), mine);
        app.start({QStringLiteral("/c")});
        QVERIFY(x.activate(kPictures));
        x.key(QStringLiteral("alt+o"));
        QVERIFY(app.waitForExit());
        QCOMPARE(app.readFile(own.filePath(QStringLiteral("RozG.ini"))), mine);
        QCOMPARE(snapshot(app.folder()), beside);
    }

    void failedSaveNamesTheUsersFolder()
    {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString store = dir.filePath(QStringLiteral("store"));
        QVERIFY(QDir().mkpath(bin));
        // Root writes anywhere but on a file system mounted read-only.
        const bool mounted = ::geteuid() == 0;
        if (!mounted)
            QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        else if (::mount("tmpfs", QFile::encodeName(bin).constData(), "tmpfs", MS_RDONLY, "size=16k") != 0)
            QSKIP("no read-only tmpfs can be mounted here");
        vz::Services services;
        services.store = std::make_unique<vz::NativeSettingsStore>(store);
        vz::Program program(bin, std::move(services));
        // A folder in the place of the user's list makes the save fail.
        const QString folder = store + QStringLiteral("/Veroridovuz");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/RozG.ini/kept")));
        const QString message = vz::savePictureSettings(program, 0, QStringLiteral("9"), {QStringLiteral("/b")}).error();
        if (mounted)
            ::umount2(QFile::encodeName(bin).constData(), MNT_DETACH);
        QVERIFY2(message.endsWith(u'\n' + folder) && !message.contains(bin), qPrintable(message));
        QVERIFY(QFileInfo(folder + QStringLiteral("/RozG.ini/kept")).isDir());
    }
};

QTEST_MAIN(tst_desktops)
#include "tst_desktops.moc"
