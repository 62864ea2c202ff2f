// Start-up of the real program on a private X server: the switches, the
// single show, and the hidden cursor.

#include <QElapsedTimer>
#include <QTest>

#include "support/Desktop.h"

using namespace vz::test;

namespace {
const QString kShow = QStringLiteral("^Veroridovuz$");
const QString kSettings = QStringLiteral("^Veroridovuz - Select Graphics$");
} // namespace

class tst_startup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void previewEndsAtOnceWithNoWindow_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("/P") << QStringList{"/P"};
        QTest::newRow("/p 1234") << QStringList{"/p", "1234"};
    }
    void previewEndsAtOnceWithNoWindow()
    {
        QFETCH(QStringList, args);
        XServer x;
        QVERIFY(x.ok());
        App app(x);
        QElapsedTimer t;
        t.start();
        const RunResult r = app.runToEnd(args, 10000);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(x.windowsNamed(QStringLiteral(".")).isEmpty());
        // It needs no display at all.
        app.setEnv(QStringLiteral("DISPLAY"), QString());
        QCOMPARE(app.runToEnd(args, 10000).exitCode, 0);
    }

    void settingsSwitchOpensThePictureDialog()
    {
        XServer x;
        App app(x);
        app.start({QStringLiteral("/c")});
        QVERIFY(waitFor([&] { return !x.windowsNamed(kSettings).isEmpty(); }));
        const auto g = windowGeometry(x, x.windowsNamed(kSettings).first());
        QVERIFY(g);
        QCOMPARE(g->size(), QSize(545, 357));
        QVERIFY((g->center() - QRect(QPoint(0, 0), x.size()).center()).manhattanLength() <= 2);
        QVERIFY(x.windowsNamed(kShow).isEmpty());
        x.keepShot(QStringLiteral("picture-dialog"));
    }

    void otherSwitchesStartTheShow_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("/S") << QStringList{"/S"};
        QTest::newRow("-s") << QStringList{"-s"};
        QTest::newRow("/A") << QStringList{"/A"};
        QTest::newRow("/") << QStringList{"/"};
    }
    void otherSwitchesStartTheShow()
    {
        QFETCH(QStringList, args);
        XServer x;
        App app(x);
        x.mouseMove(300, 300);
        app.start(args);
        QVERIFY(waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); }));
        const auto g = windowGeometry(x, x.windowsNamed(kShow).first());
        QVERIFY(g);
        QCOMPARE(*g, QRect(QPoint(0, 0), x.size()));
        // The cursor was parked at (0, 0) and is blank over the show.
        QVERIFY(waitFor([&] { return cursorIsBlank(x.display()) == true; }));
        x.mouseMove(1, 0);
        QVERIFY(app.waitForExit(5000));
        QCOMPARE(app.exitCode(), 0);
    }

    void aSecondShowIsRefused()
    {
        XServer x;
        App first(x);
        first.start({QStringLiteral("/c")});
        QVERIFY(waitFor([&] { return !x.windowsNamed(kSettings).isEmpty(); }));

        // Another copy runs, but no window is titled exactly "Veroridovuz": the
        // settings dialog's caption does not count, so the show starts.
        {
            auto second = first.launch({QStringLiteral("/s")});
            QVERIFY(waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); }));
            second->kill();
            second->waitForFinished(5000);
        }
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).isEmpty(); }));

        // A window of another process titled exactly "Veroridovuz".
        const QString dialog = x.windowsNamed(kSettings).first();
        x.xdo({QStringLiteral("set_window"), QStringLiteral("--name"), QStringLiteral("Veroridovuz"), dialog});
        QVERIFY(waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); }));
        const RunResult r = first.runToEnd({QStringLiteral("/s")}, 10000);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(x.windowsNamed(kShow), QStringList{dialog});
    }
};

QTEST_GUILESS_MAIN(tst_startup)
#include "tst_startup.moc"
