// The show's sequencing in-process: the interval rule, order and random picks,
// the visible part of a big picture, and the single message of a failing tick.

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/picture/frmSettings.h"
#include "platform/HostWindow.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "show/PictureBox.h"
#include "show/frmmain.h"
#include "support/MessageBoxCatcher.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

// Pictures told apart by their width: picture i is (10 + i) pixels wide;
// size 0 makes one of 2000 x 1500.
QStringList makePictures(const TestProgram &p, int count, QSize size = {})
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QImage img(size.isEmpty() ? QSize(10 + i, 5) : size, QImage::Format_RGB32);
        img.fill(Qt::white);
        paths << QDir(p.folder()).filePath(QStringLiteral("pic%1.bmp").arg(i));
        img.save(paths.last(), "BMP");
    }
    return paths;
}

// A show loaded over the stored list (random box state, pictures).
frmmain &loadShow(TestProgram &p, int random, const QStringList &pictures)
{
    if (savePictureSettings(*p, random, QStringLiteral("1"), pictures))
        qFatal("cannot save the picture list");
    frmmain &show = p->form<frmmain>();
    show.finishLoad();
    return show;
}

// Runs ticks of the picture timer and returns the index shown at each.
QList<int> tick(frmmain &show, int ticks)
{
    QList<int> shown;
    show.timer1().setInterval(1);
    show.timer1().setSingleShot(true);
    for (int i = 0; i < ticks; ++i) {
        QSignalSpy spy(&show.timer1(), &QTimer::timeout);
        show.timer1().start();
        spy.wait(1000);
        show.timer1().stop();
        shown << show.image1().width() - 10;
    }
    return shown;
}

} // namespace

class tst_show : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Whole seconds, half to even; intervals past 32 s work; anything not a
    // positive whole number in range leaves the picture timer off.
    void intervalRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ms");
        for (auto [text, ms] : {std::pair{"5", 5000}, {"2.5", 2000}, {" 10 ", 10000}, {"33", 33000}, {"60", 60000},
                                {"0", 0}, {"-2", 0}, {"", 0}, {"abc", 0}, {"40000", 0}})
            QTest::newRow(text) << QString::fromLatin1(text) << ms;
    }
    void intervalRule()
    {
        QFETCH(QString, text);
        QFETCH(int, ms);
        TestProgram p;
        p.writeProgramFile(kPictureListFile, text.toUtf8() + "\r\n 1 \r\n" + makePictures(p, 1)[0].toUtf8());
        frmmain &show = p->form<frmmain>();
        show.finishLoad();
        QCOMPARE(show.timer1().isActive() ? show.timer1().interval() : 0, ms);
        // The backdrop is up until the first tick.
        QVERIFY(!show.image2().isHidden());
    }

    void orderAndRandomPicks()
    {
        // A grayed random box plays in order, wrapping around.
        TestProgram grayed;
        QCOMPARE(tick(loadShow(grayed, 2, makePictures(grayed, 2)), 3), (QList<int>{0, 1, 0}));

        TestProgram p;
        frmmain &show = loadShow(p, 1, makePictures(p, 4));
        QList<double> draws{3.7 / 4, 2.5 / 4, 1.2 / 4};
        // The picture after the last one checked is drawn as well, when it is prepared.
        show.setDraw([&] { return draws.isEmpty() ? 0.0 : draws.takeFirst(); });
        QCOMPARE(tick(show, 3), (QList<int>{0, 2, 1}));

        // With the clock-seeded draw every entry comes up.
        TestProgram q;
        const QList<int> shown = tick(loadShow(q, 1, makePictures(q, 3)), 60);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(shown.contains(i), qPrintable(QString::number(i)));
    }

    void bigPicturesAreCentredAndCutEvenly()
    {
        TestProgram p;
        frmmain &show = loadShow(p, 0, makePictures(p, 1, {2000, 1500}));
        show.resize(1024, 768);
        tick(show, 1);
        QCOMPARE(show.image1().geometry(), QRect(-488, -366, 2000, 1500));
        // Only the visible part is held.
        QCOMPARE(show.image1().picture().image.size(), QSize(1024, 768));
    }

    void emptyEntryShowsNothingWithoutAMessage()
    {
        TestProgram p;
        MessageBoxCatcher boxes;
        frmmain &show = loadShow(p, 0, {QString()});
        tick(show, 2);
        QVERIFY(boxes.boxes().empty());
        QCOMPARE(show.image1().size(), QSize(0, 0));
        QVERIFY(!p->hasEnded());
    }

    // A missing picture ends the program; an empty list gives way to the
    // settings dialog (the hidden music dialog does not hold the program open).
    void failingTickShowsOneMessage_data()
    {
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("missing picture") << QStringList{"/no/such/picture.jpg"} << "File not found.Quitting"
                                         << QMessageBox::NoIcon;
        QTest::newRow("empty list") << QStringList{} << "Please select few image files" << QMessageBox::Information;
    }
    void failingTickShowsOneMessage()
    {
        QFETCH(QStringList, pictures);
        QFETCH(QString, text);
        QFETCH(QMessageBox::Icon, icon);
        TestProgram p;
        MessageBoxCatcher boxes;
        QVERIFY(!saveMusicSettings(*p, 0, {}));
        frmmain &show = loadShow(p, 0, pictures);
        show.show();
        show.timer1().setInterval(1);
        QTRY_VERIFY(!p->loadedForm<frmmain>());
        QCOMPARE(boxes.boxes().size(), size_t(1));
        QCOMPARE(boxes.boxes()[0].text, text);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Veroridovuz"));
        QCOMPARE(boxes.boxes()[0].icon, icon);
        if (!pictures.isEmpty()) {
            QVERIFY(p->hasEnded());
            return;
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr); // the cursor is back
        QVERIFY(!p->hasEnded() && p->loadedForm<frmSettings>()->isVisible());
        p->unload(p->loadedForm<frmSettings>());
        QVERIFY(p->hasEnded());
    }

    // Inside a host's window the cursor is the host's: giving way to the
    // settings leaves its counter where the load found it.
    void embeddedShowLeavesTheCursorAlone()
    {
        struct AcceptingHost final : HostWindow {
            quintptr rootWindow() const override { return 1; }
            bool embed(QWidget &, quintptr) override { return true; }
        };
        TestProgram p(std::make_unique<AcceptingHost>());
        p->setHostWindow(1);
        MessageBoxCatcher boxes;
        QVERIFY(!saveMusicSettings(*p, 0, {}));
        loadShow(p, 0, {}).timer1().setInterval(1);
        QTRY_VERIFY(!p->loadedForm<frmmain>());
        QCOMPARE(int(p->cursor().showCursor(false)), -1);
    }
};

QTEST_MAIN(tst_show)
#include "tst_show.moc"
