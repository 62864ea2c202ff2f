// The picture dialog as a user meets it: the real program on a private X
// server, real clicks and keys through xdotool, the list file and the stored
// value checked afterwards, the preview read off the screen. Faults from
// outside (a save that cannot be written, a picture that goes away, a name
// that the list file cannot hold) lose nothing.

#include <QFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "support/Desktop.h"
#include "support/DialogWindow.h"
#include "support/Faults.h"

using namespace vz::test;

namespace {

const QString kTitle = QStringLiteral("^Veroridovuz - Select Graphics$");
const QString kMessageTitle = QStringLiteral("^Veroridovuz$");

// Designed positions of the controls on the dialog, in pixels.
const QRect kFile1(160, 40, 129, 136);
const QRect kList1(360, 40, 177, 134);
const QPoint kCommand1(325, 51);  // "&>>"
const QPoint kCommand6(325, 88);  // "&Up"
const QPoint kCommand7(325, 125); // "&Down"
const QPoint kCommand2(325, 162); // "&Remove"
const QPoint kRandom(462, 30);
const QPoint kText1(8 + 136 + 20, 216 + 24 + 9);
const QPoint kCancel(8 + 104 + 30, 216 + 64 + 11);
const QPoint kOk(8 + 184 + 30, 216 + 64 + 11);
const QRect kPicture1(312 + 48, 216 + 16, 129, 81);

void convert(const QStringList &args)
{
    const RunResult r = run(QStringLiteral("convert"), args, QProcessEnvironment::systemEnvironment());
    QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
}

class Dialog : public DialogWindow
{
public:
    Dialog(XServer &x, App &app) : DialogWindow(x), m_x(x), m_app(app) {}

    bool open()
    {
        m_app.start({QStringLiteral("/c")});
        return find(kTitle);
    }
    bool measureRows() { return DialogWindow::measureRows(kFile1); }
    QPoint fileRow(int i) const { return row(kFile1, i); }
    QPoint listRow(int i) const { return row(kList1, i); }

    // Every sampled pixel of the preview box has the colour.
    bool previewShows(QColor colour) const
    {
        const QImage shot = m_x.screenshot();
        const QRect box = kPicture1.translated(rect().topLeft()).adjusted(2, 2, -2, -2);
        for (int y = box.top(); y <= box.bottom(); y += 6)
            for (int x = box.left(); x <= box.right(); x += 6)
                if (!near(shot.pixelColor(x, y), colour))
                    return false;
        return true;
    }

    bool messageShown() const { return !m_x.windowsNamed(kMessageTitle).isEmpty(); }
    bool answerMessage() const { return vz::test::answerMessage(m_x, kMessageTitle); }

private:
    XServer &m_x;
    App &m_app;
};

} // namespace

class tst_pictureDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<XServer> x;
    std::unique_ptr<App> app;

    QString path(const QString &name) const { return app->filePath(name); }
    QByteArray local(const QString &name) const { return path(name).toLocal8Bit(); }

private Q_SLOTS:
    void init()
    {
        x = std::make_unique<XServer>();
        QVERIFY(x->ok());
        app = std::make_unique<App>(*x);
    }
    void cleanup()
    {
        app.reset();
        x.reset();
    }

    void editTheListAndSave()
    {
        convert({"-size", "40x30", "xc:red", path("a.bmp")});
        convert({"-size", "40x30", "xc:blue", path("b.jpg")});
        convert({"-size", "40x30", "xc:lime", path("c.gif")});
        Dialog d(*x, *app);
        QVERIFY(d.open());
        QVERIFY(d.measureRows());

        d.ctrlClick(d.fileRow(2));
        d.click(kCommand1);                 // a, c
        d.doubleClick(d.fileRow(1));        // a, c, b
        d.click(d.listRow(2));
        d.click(kCommand6);                 // a, b, c
        d.click(d.listRow(0));
        d.click(kCommand7);                 // b, a, c
        d.click(d.listRow(2));
        d.click(kCommand2);                 // b, a
        d.doubleClick(d.listRow(0));        // a
        d.doubleClick(d.fileRow(2));        // a, c
        d.click(kRandom);
        d.click(kText1);
        x->type(QStringLiteral("7"));
        x->keepShot(QStringLiteral("picture-dialog-edited"));
        d.click(kOk);

        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")),
                 "7\r\n 2 \r\n" + local("a.bmp") + "\r\n" + local("c.gif") + "\r\n");
        QCOMPARE(app->stored(QStringLiteral("RandomP")), QStringLiteral("1"));
    }

    void lettersInTheIntervalAreRefused()
    {
        Dialog d(*x, *app);
        QVERIFY(d.open());
        d.click(kText1);
        x->type(QStringLiteral("abc"));
        x->key(QStringLiteral("Tab"));
        QVERIFY(waitFor([&] { return d.messageShown(); }));
        x->keepShot(QStringLiteral("picture-dialog-interval-message"));
        QVERIFY(d.answerMessage());

        // Emptied, with the focus back: typing without a click lands in the box.
        d.moveTo(kText1);
        x->type(QStringLiteral("5"));
        // Letters again, and a click on OK or OK's access key: the message
        // instead of saving.
        for (const char *ok : {"click", "alt+o"}) {
            x->type(QStringLiteral("x"));
            if (ok == QByteArray("click"))
                d.click(kOk);
            else
                x->key(QString::fromLatin1(ok));
            QVERIFY(waitFor([&] { return d.messageShown(); }));
            QVERIFY(d.answerMessage());
            QVERIFY(app->running());
            QVERIFY(!QFile::exists(path("RozG.ini")));
            d.moveTo(kText1);
        }

        // Any number passes, whole or not, negative or not.
        x->key(QStringLiteral("minus 2 period 5"));
        d.click(kOk);
        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")), QByteArray("-2.5\r\n 0 \r\n"));
    }

    void cancelAndCloseBoxLeaveEverythingAsItWas_data()
    {
        addCancelAndCloseBoxRows();
    }
    void cancelAndCloseBoxLeaveEverythingAsItWas()
    {
        QFETCH(bool, closeBox);
        convert({"-size", "40x30", "xc:red", path("a.bmp")});
        const QByteArray before = " 10 \r\n 1 \r\n/somewhere/else.jpg\r\n";
        app->writeFile(QStringLiteral("RozG.ini"), before);
        app->setStored(QStringLiteral("RandomP"), QStringLiteral("0"));
        Dialog d(*x, *app);
        QVERIFY(d.open());
        QVERIFY(d.measureRows());
        d.doubleClick(d.fileRow(0));
        d.click(kRandom);
        d.click(kText1);
        x->key(QStringLiteral("ctrl+a"));
        x->type(QStringLiteral("3"));
        if (closeBox)
            QCOMPARE(run(QStringLiteral(VZ_CLOSEWINDOW), {d.id()}, x->env()).exitCode, 0);
        else
            d.click(kCancel);
        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")), before);
        QCOMPARE(app->stored(QStringLiteral("RandomP")), QStringLiteral("0"));
    }

    void previewShowsTheClickedPicture()
    {
        struct Fixture {
            QString name;
            QColor colour;
        };
        const QList<Fixture> fixtures{{"a.bmp", QColor(255, 0, 0)},  {"b.dib", QColor(0, 255, 0)},
                                      {"c.jpg", QColor(0, 0, 255)},  {"d.gif", QColor(255, 255, 0)},
                                      {"e.ico", QColor(255, 0, 255)}, {"f.wmf", QColor(0, 255, 255)}};
        const QStringList im{"red", "lime", "blue", "yellow", "magenta"};
        for (int i = 0; i < 5; ++i) {
            const QString target = fixtures[i].name.endsWith(u"dib") ? QStringLiteral("BMP3:") + path(fixtures[i].name)
                                                                       : path(fixtures[i].name);
            // Odd shapes: each is stretched to the whole box.
            convert({"-size", i % 2 ? "16x64" : "64x16", "xc:" + im[i], target});
        }
        QVERIFY(QFile::copy(QStringLiteral(VZ_TEST_DATA "/wmf/gen_placeable_cyan.wmf"), path(fixtures[5].name)));
        // The list, in the opposite order.
        QByteArray list = " 5 \r\n 6 \r\n";
        for (int i = 5; i >= 0; --i)
            list += local(fixtures[i].name) + "\r\n";
        app->writeFile(QStringLiteral("RozG.ini"), list);

        Dialog d(*x, *app);
        QVERIFY(d.open());
        QVERIFY(d.measureRows());
        for (int i = 0; i < fixtures.size(); ++i) {
            for (bool inList : {false, true}) {
                d.click(inList ? d.listRow(5 - i) : d.fileRow(i));
                QVERIFY2(waitFor([&] { return d.messageShown() || d.previewShows(fixtures[i].colour); }),
                         qPrintable(fixtures[i].name));
                QVERIFY2(!d.messageShown(), qPrintable(fixtures[i].name));
            }
            if (i == 0)
                x->keepShot(QStringLiteral("picture-dialog-preview"));
        }
    }

    void okThatCannotSaveLosesNothing_data()
    {
        addWriteFaultRows();
    }
    void okThatCannotSaveLosesNothing()
    {
        QFETCH(WriteFault, fault);
        convert({"-size", "40x30", "xc:red", path("a.bmp")});
        const bool folder = fault == WriteFault::FolderForListFile;
        if (!folder)
            app->writeFile(QStringLiteral("RozG.ini"), "3\r\n 1 \r\n/pictures/old.jpg\r\n");
        FolderFault f(*app, fault, QStringLiteral("RozG.ini"));
        if (!f.unavailable().isEmpty())
            QSKIP(qPrintable(f.unavailable()));
        Dialog d(*x, *app);
        QVERIFY(d.open());
        QVERIFY(d.measureRows());
        // A folder in the list file's place loads as an empty list, silently.
        QVERIFY(!d.messageShown());
        d.doubleClick(d.fileRow(0));
        f.arm();
        const auto before = snapshot(app->folder());
        d.click(kOk);
        QVERIFY(waitFor([&] { return d.messageShown(); }));
        x->keepShot(QStringLiteral("picture-dialog-save-failed"));
        QVERIFY(d.answerMessage());
        QVERIFY(app->running());
        QVERIFY(!x->windowsNamed(kTitle).isEmpty());
        QCOMPARE(snapshot(app->folder()), before);

        // The edits are still in the dialog: with the fault lifted, OK saves them.
        f.lift();
        d.click(kOk);
        QVERIFY(app->waitForExit());
        const QByteArray kept = folder ? " 10 \r\n 1 \r\n" : "3\r\n 2 \r\n/pictures/old.jpg\r\n";
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")), kept + local("a.bmp") + "\r\n");
    }

    void vanishedPictureIsReportedAndTheDialogGoesOn_data()
    {
        QTest::addColumn<bool>("inList");
        QTest::newRow("clicked in the file box") << false;
        QTest::newRow("clicked in the list") << true;
    }
    void vanishedPictureIsReportedAndTheDialogGoesOn()
    {
        QFETCH(bool, inList);
        convert({"-size", "40x30", "xc:red", path("a.bmp")});
        convert({"-size", "40x30", "xc:blue", path("b.bmp")});
        convert({"-size", "40x30", "xc:lime", path("c.bmp")});
        const QByteArray list = "4\r\n 3 \r\n" + local("a.bmp") + "\r\n" + local("b.bmp") + "\r\n" + local("c.bmp") + "\r\n";
        app->writeFile(QStringLiteral("RozG.ini"), list);
        Dialog d(*x, *app);
        QVERIFY(d.open());
        QVERIFY(d.measureRows());
        QVERIFY(waitFor([&] { return d.previewShows(Qt::red); }));
        QVERIFY(QFile::remove(path("b.bmp")));
        d.click(inList ? d.listRow(1) : d.fileRow(1));
        QVERIFY(waitFor([&] { return d.messageShown(); }));
        QVERIFY(d.answerMessage());
        QVERIFY(d.previewShows(Qt::red));
        d.click(inList ? d.listRow(2) : d.fileRow(2));
        QVERIFY(waitFor([&] { return d.previewShows(QColor(0, 255, 0)); }));
        QVERIFY(!d.messageShown());
        d.click(kOk);
        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")), list);
    }

    void nameThatTheListCannotHoldIsRefused()
    {
        // "b\xE9.bmp": a name in a one-byte encoding, which the system's does not decode.
        convert({"-size", "40x30", "xc:red", path("a.bmp")});
        convert({"-size", "40x30", "xc:red", path("b.bmp")});
        QVERIFY(::rename(local("b.bmp").constData(), (local("b") + "\xE9.bmp").constData()) == 0);
        convert({"-size", "40x30", "xc:blue", path("c.bmp")});
        Dialog d(*x, *app);
        QVERIFY(d.open());
        QVERIFY(d.measureRows());
        // All three chosen without clicking the odd one, whose preview would fail.
        d.shiftClick(d.fileRow(2));
        d.click(kCommand1);
        QVERIFY(waitFor([&] { return d.messageShown(); }));
        x->keepShot(QStringLiteral("picture-dialog-name-refused"));
        QVERIFY(d.answerMessage());
        d.click(kOk);
        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")),
                 " 10 \r\n 2 \r\n" + local("a.bmp") + "\r\n" + local("c.bmp") + "\r\n");
        // Qt's own removal of the folder would not see the file.
        QCOMPARE(::unlink((local("b") + "\xE9.bmp").constData()), 0);
    }
};

QTEST_MAIN(tst_pictureDialog)
#include "tst_pictureDialog.moc"
