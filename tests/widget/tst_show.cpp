// The show's sequencing in-process: the interval rule, order and random picks,
// the music poll, and the single message of a failing tick.

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "show/MediaPlayer.h"
#include "show/PictureBox.h"
#include "show/frmmain.h"
#include "support/MessageBoxCatcher.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

// Pictures told apart by their width: picture i is (10 + i) pixels wide.
QStringList makePictures(const TestProgram &p, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QImage img(10 + i, 5, QImage::Format_RGB32);
        img.fill(Qt::white);
        paths << QDir(p.folder()).filePath(QStringLiteral("pic%1.bmp").arg(i));
        img.save(paths.last(), "BMP");
    }
    return paths;
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

frmmain &loadShow(Program &program)
{
    frmmain &show = program.form<frmmain>();
    show.finishLoad();
    return show;
}

} // namespace

class tst_show : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void intervalRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ms");
        QTest::newRow("33 works") << "33" << 33000;
        QTest::newRow("2.5") << "2.5" << 2000;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("-2") << "-2" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("abc") << "abc" << 0;
        QTest::newRow("40000 is out of range") << "40000" << 0;
    }
    void intervalRule()
    {
        QFETCH(QString, text);
        QFETCH(int, ms);
        QCOMPARE(pictureInterval(text), ms);

        TestProgram p;
        p.writeProgramFile(kPictureListFile, text.toUtf8() + "\r\n 1 \r\n" + makePictures(p, 1)[0].toUtf8());
        auto &show = loadShow(*p);
        QCOMPARE(show.timer1().isActive(), ms > 0);
        if (ms > 0)
            QCOMPARE(show.timer1().interval(), ms);
        // The backdrop is up until the first tick.
        QVERIFY(!show.image2().isHidden());
    }

    void orderModeWrapsAround()
    {
        TestProgram p;
        savePictureSettings(*p, 0, QStringLiteral("1"), makePictures(p, 3));
        auto &show = loadShow(*p);
        QCOMPARE(tick(show, 7), (QList<int>{0, 1, 2, 0, 1, 2, 0}));
        QVERIFY(show.image2().isHidden());
        // A grayed random box plays in order too.
        TestProgram q;
        savePictureSettings(*q, 2, QStringLiteral("1"), makePictures(q, 2));
        QCOMPARE(tick(loadShow(*q), 3), (QList<int>{0, 1, 0}));
    }

    void randomModeUsesTheDraw()
    {
        TestProgram p;
        savePictureSettings(*p, 1, QStringLiteral("1"), makePictures(p, 4));
        auto &show = loadShow(*p);
        QList<double> draws{3.7 / 4, 2.5 / 4, 1.2 / 4};
        show.setDraw([&] { return draws.takeFirst(); });
        QCOMPARE(tick(show, 3), (QList<int>{0, 2, 1}));

        // With the clock-seeded draw every entry comes up.
        TestProgram q;
        savePictureSettings(*q, 1, QStringLiteral("1"), makePictures(q, 3));
        const QList<int> shown = tick(loadShow(*q), 60);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(shown.contains(i), qPrintable(QString::number(i)));
    }

    void bigPicturesAreCentredAndCutEvenly()
    {
        TestProgram p;
        QImage img(2000, 1500, QImage::Format_RGB32);
        img.fill(Qt::red);
        const QString path = QDir(p.folder()).filePath(QStringLiteral("big.bmp"));
        img.save(path, "BMP");
        savePictureSettings(*p, 0, QStringLiteral("1"), {path});
        auto &show = loadShow(*p);
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
        savePictureSettings(*p, 0, QStringLiteral("1"), {QString()});
        auto &show = loadShow(*p);
        tick(show, 2);
        QVERIFY(boxes.boxes().empty());
        QCOMPARE(show.image1().size(), QSize(0, 0));
        QVERIFY(!p->hasEnded());
    }

    void failingTickShowsOneMessageAndEnds()
    {
        TestProgram p;
        MessageBoxCatcher boxes;
        savePictureSettings(*p, 0, QStringLiteral("1"), {QStringLiteral("/no/such/picture.jpg")});
        auto &show = loadShow(*p);
        show.timer1().setInterval(1);
        QTRY_VERIFY(p->hasEnded());
        QCOMPARE(boxes.boxes().size(), size_t(1));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("File not found.Quitting"));
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Veroridovuz"));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::NoIcon);
    }

    void emptyListGivesWayToTheSettingsDialog()
    {
        TestProgram p;
        MessageBoxCatcher boxes;
        saveMusicSettings(*p, 0, {});
        savePictureSettings(*p, 0, QStringLiteral("1"), {});
        auto &show = loadShow(*p);
        show.show();
        show.timer1().setInterval(1);
        QTRY_VERIFY(p->loadedForm<frmmain>() == nullptr);
        QCOMPARE(boxes.boxes().size(), size_t(1));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Please select few image files"));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Information);
        QVERIFY(p->loadedForm<frmSettings>()->isVisible());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr); // the cursor is back
        QVERIFY(!p->hasEnded());
        // The hidden music dialog does not hold the program open.
        p->unload(p->loadedForm<frmSettings>());
        QVERIFY(p->hasEnded());
    }
};

QTEST_MAIN(tst_show)
#include "tst_show.moc"
