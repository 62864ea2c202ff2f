// The show as a user meets it: the real program on a private X server, real
// pictures, real input.

#include <QFile>
#include <QTest>

#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QString kShow = QStringLiteral("^Veroridovuz$");

// The backdrop's own colours at the centre of the screen are a dark blue.
bool backdropShown(const QImage &shot)
{
    const QRgb c = shot.pixel(40, 40);
    return qBlue(c) > 40 && qBlue(c) > qRed(c);
}

struct Show {
    XServer x;
    App app{x};
    QList<QColor> colours{Qt::red, Qt::green, Qt::blue};
    QStringList pictures;

    Show()
    {
        for (int i = 0; i < colours.size(); ++i)
            pictures << solidPicture(app, QStringLiteral("p%1.bmp").arg(i), QSize(100, 51), colours[i]);
    }
    bool start(const QString &interval, const QStringList &list)
    {
        writePictureList(app, interval, list);
        x.mouseMove(500, 500);
        app.start({QStringLiteral("/s")});
        return waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); });
    }
    // The colour index shown at the centre of the screen, -1 for none of them.
    int shownAtCentre() const { return shownAtCentre(x.screenshot()); }
    int shownAtCentre(const QImage &shot) const
    {
        for (int i = 0; i < colours.size(); ++i)
            if (near(shot.pixel(512, 384), colours[i]))
                return i;
        return -1;
    }
    int messageBoxes() const { return x.windowsNamed(kShow).size() - 1; }
};

} // namespace

class tst_show : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void backdropThenPicturesInOrderCentred()
    {
        Show s;
        QVERIFY(s.start(QStringLiteral("1"), s.pictures));
        QVERIFY(waitFor([&] { return backdropShown(s.x.screenshot()); }, 5000));
        s.x.keepShot(QStringLiteral("show-backdrop"));
        QVERIFY(cursorIsBlank(s.x.display()) == true);

        // Each picture in turn: 0, 1, 2, 0.
        QList<int> seen;
        QVERIFY(waitFor([&] {
            const int now = s.shownAtCentre();
            if (now >= 0 && (seen.isEmpty() || seen.last() != now))
                seen << now;
            return seen.size() >= 4;
        }, 15000));
        QCOMPARE(seen, (QList<int>{0, 1, 2, 0}));

        // A 100 x 51 picture on 1024 x 768: columns 462..561, rows from 358 or 359.
        const QImage shot = s.x.screenshot();
        s.x.keepShot(QStringLiteral("show-picture"));
        const int shown = s.shownAtCentre(shot);
        QVERIFY(shown >= 0);
        const QColor c = s.colours[shown];
        QVERIFY(near(shot.pixel(462, 384), c));
        QVERIFY(near(shot.pixel(561, 384), c));
        QVERIFY(near(shot.pixel(461, 384), Qt::black));
        QVERIFY(near(shot.pixel(562, 384), Qt::black));
        const int top = near(shot.pixel(512, 358), c) ? 358 : 359;
        QVERIFY(near(shot.pixel(512, top), c));
        QVERIFY(near(shot.pixel(512, top - 1), Qt::black));
        QVERIFY(near(shot.pixel(512, top + 50), c));
        QVERIFY(near(shot.pixel(512, top + 51), Qt::black));
    }

    void inputEndsTheShow_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("one-pixel move") << "move";
        QTest::newRow("click") << "click";
        QTest::newRow("key") << "key";
    }
    void inputEndsTheShow()
    {
        QFETCH(QString, input);
        Show s;
        QVERIFY(s.start(QStringLiteral("1"), s.pictures));
        QVERIFY(waitFor([&] { return s.shownAtCentre() >= 0; }, 5000));
        QVERIFY(cursorIsBlank(s.x.display()) == true);
        // An event without movement leaves it running.
        s.x.mouseMove(0, 0);
        QVERIFY(!s.app.waitForExit(700));
        if (input == u"move")
            s.x.mouseMove(0, 1);
        else if (input == u"click")
            s.x.click();
        else
            s.x.key(QStringLiteral("space"));
        QVERIFY(s.app.waitForExit(5000));
        QCOMPARE(s.app.exitCode(), 0);
        QVERIFY(cursorIsBlank(s.x.display()) == false);
    }

    void emptyListGivesWayToTheSettings()
    {
        Show s;
        QVERIFY(s.start(QStringLiteral("1"), {}));
        QVERIFY(waitFor([&] { return s.messageBoxes() == 1; }, 5000));
        s.x.keepShot(QStringLiteral("show-empty-message"));
        QVERIFY(cursorIsBlank(s.x.display()) == false);
        s.x.key(QStringLiteral("Return"));
        QVERIFY(waitFor([&] {
            return !s.x.windowsNamed(QStringLiteral("^Veroridovuz - Select Graphics$")).isEmpty() &&
                   s.x.windowsNamed(kShow).isEmpty();
        }, 5000));
        QVERIFY(s.app.running());
    }

    void missingFileEndsTheProgram_data()
    {
        QTest::addColumn<bool>("duringTheShow");
        QTest::newRow("missing from the start") << false;
        QTest::newRow("gone while the show runs") << true;
    }
    void missingFileEndsTheProgram()
    {
        QFETCH(bool, duringTheShow);
        Show s;
        if (duringTheShow) {
            QVERIFY(s.start(QStringLiteral("1"), s.pictures));
            QVERIFY(waitFor([&] { return s.shownAtCentre() == 0; }, 5000));
            QVERIFY(QFile::remove(s.pictures[1]));
        } else {
            QVERIFY(s.start(QStringLiteral("1"), {s.app.filePath(QStringLiteral("gone.jpg"))}));
        }
        QVERIFY(waitFor([&] { return s.messageBoxes() == 1; }, 5000));
        // Only one message, however long it waits.
        QVERIFY(!waitFor([&] { return s.messageBoxes() > 1; }, 2500));
        s.x.key(QStringLiteral("Return"));
        QVERIFY(s.app.waitForExit(5000));
        QCOMPARE(s.app.exitCode(), 0);
    }

    void badIntervalKeepsTheBackdrop()
    {
        Show s;
        QVERIFY(s.start(QStringLiteral("abc"), s.pictures));
        QVERIFY(waitFor([&] { return backdropShown(s.x.screenshot()); }, 5000));
        QVERIFY(!waitFor([&] { return s.shownAtCentre() >= 0; }, 2500));
        s.x.key(QStringLiteral("a"));
        QVERIFY(s.app.waitForExit(5000));
    }
};

QTEST_GUILESS_MAIN(tst_show)
#include "tst_show.moc"
