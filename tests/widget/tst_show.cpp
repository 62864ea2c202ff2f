// The show's sequencing in-process: the interval rule, order and random picks,
// a big picture centred with only its visible part held, and the single
// message of a failing tick.

#include <QSignalSpy>
#include <QTest>

#include "dialogs/picture/frmSettings.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "controls/ListBox.h"
#include "show/PictureBox.h"
#include "show/frmmain.h"
#include "support/Forms.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

// A show loaded over a picture list; picture i is 10 + i pixels wide, or of
// the given size.
frmmain &loadShow(TestProgram &p, const QByteArray &random, const QByteArray &interval, int count, QSize size = {})
{
    QByteArray list = interval + "\r\n " + QByteArray::number(count) + " \r\n";
    for (int i = 0; i < count; ++i) {
        QImage img(size.isEmpty() ? QSize(10 + i, 5) : size, QImage::Format_RGB32);
        img.fill(Qt::white);
        img.save(QDir(p.folder()).filePath(QStringLiteral("%1.bmp").arg(i)), "BMP");
        list += QDir(p.folder()).filePath(QStringLiteral("%1.bmp").arg(i)).toUtf8() + "\r\n";
    }
    p.writeProgramFile(kPictureListFile, list);
    p.writeProgramFile(kMusicListFile, " 0 \r\n");
    if (!random.isEmpty())
        (void)p->store().save(kAppTitle, QStringLiteral("Presets"), kRandomP, QString::fromLatin1(random));
    frmmain &show = p->form<frmmain>();
    show.finishLoad();
    return show;
}

// Runs ticks of the picture timer and returns the picture shown at each.
QList<int> tick(frmmain &show, int ticks)
{
    QList<int> shown;
    show.timer1().setInterval(1);
    show.timer1().setSingleShot(true);
    for (int i = 0; i < ticks; ++i) {
        QSignalSpy spy(&show.timer1(), &QTimer::timeout);
        show.timer1().start();
        spy.wait(1000);
        shown << show.image1().width() - 10;
    }
    return shown;
}

} // namespace

class tst_show : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Whole seconds, half to even, past 32 s too; anything else leaves the
    // picture timer off and the backdrop up.
    void intervalRule()
    {
        const std::pair<const char *, int> rows[] = {{"5", 5000}, {"2.5", 2000}, {"1.5", 2000}, {" 10 ", 10000},
                                                     {"33", 33000}, {"0", 0}, {"-2", 0}, {"", 0}, {"abc", 0},
                                                     {"40000", 0}};
        for (auto [text, ms] : rows) {
            TestProgram p;
            frmmain &show = loadShow(p, {}, text, 1);
            QCOMPARE(show.timer1().isActive() ? show.timer1().interval() : 0, ms);
            QVERIFY(!show.image2().isHidden());
        }
    }

    void orderAndRandomPicks()
    {
        // A grayed random box plays in order, wrapping around.
        TestProgram grayed;
        QCOMPARE(tick(loadShow(grayed, "2", "1", 2), 3), (QList<int>{0, 1, 0}));
        QVERIFY(grayed->form<frmmain>().image2().isHidden());

        TestProgram p;
        frmmain &show = loadShow(p, "1", "1", 4);
        QList<double> draws{3.7 / 4, 2.5 / 4, 1.2 / 4, 0.9 / 4};
        show.setDraw([&] { return draws.takeFirst(); });
        QCOMPARE(tick(show, 4), (QList<int>{0, 2, 1, 1}));

        // With the clock-seeded draw every entry comes up.
        TestProgram q;
        const QList<int> shown = tick(loadShow(q, "1", "1", 3), 60);
        QVERIFY(shown.contains(0) && shown.contains(1) && shown.contains(2));
    }

    void bigPicturesAreCentredAndCutEvenly()
    {
        TestProgram p;
        frmmain &show = loadShow(p, {}, "1", 1, {2000, 1500});
        show.resize(1024, 768);
        tick(show, 1);
        QCOMPARE(show.image1().geometry(), QRect(-488, -366, 2000, 1500));
        QCOMPARE(show.image1().picture().image.size(), QSize(1024, 768));
    }

    // An empty entry shows nothing, silently; a missing picture ends the
    // program; an empty list gives way to the settings dialog, and the hidden
    // music dialog does not hold the program open.
    void failingTicks_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("empty entry") << 1 << "" << QMessageBox::NoIcon;
        QTest::newRow("missing picture") << 1 << "File not found.Quitting" << QMessageBox::NoIcon;
        QTest::newRow("empty list") << 0 << "Please select few image files" << QMessageBox::Information;
    }
    void failingTicks()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QFETCH(QMessageBox::Icon, icon);
        TestProgram p;
        MessageBoxCatcher boxes;
        frmmain &show = loadShow(p, {}, "1", count);
        QFile::remove(QDir(p.folder()).filePath(QStringLiteral("0.bmp")));
        if (text.isEmpty())
            p->form<frmSettings>().List1()->item(0)->setText(QString());
        show.show();
        show.timer1().setInterval(1);
        if (text.isEmpty()) {
            tick(show, 2);
            QVERIFY(boxes.texts().isEmpty() && !p->hasEnded());
            QVERIFY(show.image1().picture().image.isNull());
            return;
        }
        QTRY_VERIFY(!p->loadedForm<frmmain>());
        QCOMPARE(boxes.texts(), QStringList{text});
        QCOMPARE(boxes.titles(), QStringList{"Veroridovuz"});
        QCOMPARE(boxes.icons(), QList<QMessageBox::Icon>{icon});
        QCOMPARE(p->hasEnded(), count > 0);
        if (count > 0)
            return;
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QVERIFY(p->loadedForm<frmSettings>()->isVisible());
        p->unload(p->loadedForm<frmSettings>());
        QVERIFY(p->hasEnded());
    }
};

QTEST_MAIN(tst_show)
#include "tst_show.moc"
