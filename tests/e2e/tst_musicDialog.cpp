// The music dialog as a user meets it: the real program in settings mode on a
// private X server, "&Add Music" clicked in the picture dialog, real clicks
// through xdotool, the music list file and the stored value checked afterwards.
// A save that cannot be written and a name that the list cannot hold lose nothing.

#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "support/Desktop.h"
#include "support/DialogWindow.h"
#include "support/Faults.h"

using namespace vz::test;

namespace {

const QString kPictures = QStringLiteral("^Veroridovuz - Select Graphics$");
const QString kMusic = QStringLiteral("^Veroridovuz - Select Music$");
const QString kMessage = QStringLiteral("^Veroridovuz$");

// Designed positions, in pixels from the dialog's top-left corner.
const QPoint kAddMusic(500, 195);   // picture dialog
const QPoint kPicturesText1(164, 249);
const QPoint kPicturesCancel(142, 291);
const QPoint kPicturesOk(222, 291);
const QRect kFile1(144, 24, 129, 162);
const QRect kList1(352, 24, 145, 160);
const QPoint kCommand1(313, 35);    // "&>>"
const QPoint kUp(313, 81);
const QPoint kDown(313, 126);
const QPoint kRemove(313, 172);
const QPoint kRandom(374, 238);
const QPoint kOk(294, 240);
const QPoint kCancel(214, 240);

// The music dialog, reached from the picture dialog.
class Session : public DialogWindow
{
public:
    Session(XServer &x, App &app) : DialogWindow(x), m_x(x), m_app(app), m_pictures(x) {}

    // The program in settings mode, swapped to the music dialog; an interval
    // typed into the picture dialog first.
    bool start(const QString &interval = {})
    {
        m_app.start({QStringLiteral("/c")});
        if (!interval.isEmpty() && m_pictures.find(kPictures)) {
            m_pictures.click(kPicturesText1);
            m_x.type(interval);
        }
        return openMusic();
    }
    bool openMusic()
    {
        if (!m_pictures.find(kPictures))
            return false;
        m_pictures.click(kAddMusic);
        return find(kMusic) && m_x.windowsNamed(kPictures).isEmpty();
    }
    // Back in the picture dialog, with the music dialog gone.
    bool picturesBack() { return waitFor([&] { return m_x.windowsNamed(kMusic).isEmpty(); }) && m_pictures.find(kPictures); }
    void cancelPictures() { m_pictures.click(kPicturesCancel); }
    void okPictures() { m_pictures.click(kPicturesOk); }

    bool measureRows() { return DialogWindow::measureRows(kFile1); }
    QPoint fileRow(int i) const { return row(kFile1, i); }
    QPoint listRow(int i) const { return row(kList1, i); }

    // Waits for a message box and answers it; the music dialog is still up afterwards.
    bool answerMessage()
    {
        return vz::test::answerMessage(m_x, kMessage, QStringLiteral("music-dialog-message"))
            && !m_x.windowsNamed(kMusic).isEmpty();
    }

private:
    XServer &m_x;
    App &m_app;
    DialogWindow m_pictures;
};

} // namespace

class tst_musicDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<XServer> x;
    std::unique_ptr<App> app;

    QByteArray local(const QString &name) const { return app->filePath(name).toLocal8Bit(); }

private Q_SLOTS:
    void init()
    {
        x = std::make_unique<XServer>();
        QVERIFY(x->ok());
        app = std::make_unique<App>(*x);
        // The dialog only lists the songs; empty files will do.
        for (const char *name : {"a.mp3", "b.wav", "c.mp3", "d.wav", "e.mp3", "f.txt"})
            app->writeFile(QString::fromLatin1(name), {});
    }
    void cleanup()
    {
        app.reset();
        x.reset();
    }

    void editSaveReopenAndCancelThePictures()
    {
        Session s(*x, *app);
        QVERIFY(s.start());
        x->keepShot(QStringLiteral("music-dialog"));
        QVERIFY(s.measureRows());

        s.click(s.fileRow(4));
        s.ctrlClick(s.fileRow(0));
        s.ctrlClick(s.fileRow(2));
        s.click(kCommand1);             // a, c, e
        s.click(s.listRow(2));
        s.click(kUp);                   // a, e, c
        s.click(s.listRow(0));
        s.click(kDown);                 // e, a, c
        s.click(s.listRow(2));
        s.click(kRemove);               // e, a
        s.doubleClick(s.fileRow(3));    // e, a, d
        s.click(kRandom);
        x->keepShot(QStringLiteral("music-dialog-edited"));
        s.click(kOk);
        QVERIFY(s.picturesBack());
        const QByteArray saved = " 3 \r\n" + local("e.mp3") + "\r\n" + local("a.mp3") + "\r\n" + local("d.wav") + "\r\n";
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), saved);
        QCOMPARE(app->stored(QStringLiteral("RandomM")), QStringLiteral("1"));

        // Reopened, it shows what was saved: OK without a change stores the same again.
        QVERIFY(s.openMusic());
        QVERIFY(s.measureRows());
        x->keepShot(QStringLiteral("music-dialog-reopened"));
        s.click(kOk);
        QVERIFY(s.picturesBack());
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), saved);
        QCOMPARE(app->stored(QStringLiteral("RandomM")), QStringLiteral("1"));

        // The picture dialog's Cancel does not undo the music dialog's OK.
        s.cancelPictures();
        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), saved);
        QCOMPARE(app->stored(QStringLiteral("RandomM")), QStringLiteral("1"));
    }

    void cancelAndCloseBoxStoreNothing_data()
    {
        addCancelAndCloseBoxRows();
    }
    void cancelAndCloseBoxStoreNothing()
    {
        QFETCH(bool, closeBox);
        const QByteArray before = "2\n/somewhere/else.mp3\r\n/x.wav\r\ntrailing";
        app->writeFile(QStringLiteral("RozM.ini"), before);
        app->setStored(QStringLiteral("RandomM"), QStringLiteral("0"));
        Session s(*x, *app);
        QVERIFY(s.start(QStringLiteral("4")));
        QVERIFY(s.measureRows());
        s.doubleClick(s.fileRow(0));
        s.click(s.listRow(0));
        s.click(kRemove);
        s.click(kRandom);
        if (closeBox) {
            const RunResult r = run(QStringLiteral(VZ_CLOSEWINDOW), {s.id()}, x->env());
            QVERIFY(r.finished && r.exitCode == 0);
        } else {
            s.click(kCancel);
        }
        QVERIFY(s.picturesBack());
        QVERIFY(app->running());
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), before);
        QCOMPARE(app->stored(QStringLiteral("RandomM")), QStringLiteral("0"));
        // The picture dialog comes back as it was left.
        s.okPictures();
        QVERIFY(app->waitForExit());
        QCOMPARE(app->readFile(QStringLiteral("RozG.ini")), QByteArray("4\r\n 0 \r\n"));
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), before);
    }

    void okThatCannotSaveLosesNothing_data()
    {
        addWriteFaultRows();
    }
    void okThatCannotSaveLosesNothing()
    {
        QFETCH(WriteFault, fault);
        const bool folder = fault == WriteFault::FolderForListFile;
        const QByteArray old = folder ? QByteArray(" 1 \r\n") : QByteArray(" 2 \r\n/music/old.mp3\r\n");
        if (!folder)
            app->writeFile(QStringLiteral("RozM.ini"), " 1 \r\n/music/old.mp3\r\n");
        FolderFault f(*app, fault, QStringLiteral("RozM.ini"));
        if (!f.unavailable().isEmpty())
            QSKIP(qPrintable(f.unavailable()));
        Session s(*x, *app);
        QVERIFY(s.start());
        QVERIFY(s.measureRows());
        QVERIFY(x->windowsNamed(kMessage).isEmpty());
        s.doubleClick(s.fileRow(0));
        f.arm();
        const auto before = snapshot(app->folder());
        s.click(kOk);
        QVERIFY(s.answerMessage());
        QCOMPARE(snapshot(app->folder()), before);

        // The play list is still in the dialog: with the fault lifted, OK saves it.
        f.lift();
        s.click(kOk);
        QVERIFY(s.picturesBack());
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), old + local("a.mp3") + "\r\n");
    }

    void nameThatTheListCannotHoldIsRefused()
    {
        // A name in a one-byte encoding, which the system's does not decode.
        const QByteArray odd = local("b") + "\xE9.mp3";
        FILE *file = std::fopen(odd.constData(), "w");
        QVERIFY(file);
        std::fclose(file);
        Session s(*x, *app);
        QVERIFY(s.start());
        QVERIFY(s.measureRows());
        // a.mp3, b.wav, then the odd name, then c.mp3.
        s.doubleClick(s.fileRow(2));
        QVERIFY(s.answerMessage());
        s.doubleClick(s.fileRow(3));
        s.click(kOk);
        QVERIFY(s.picturesBack());
        QCOMPARE(app->readFile(QStringLiteral("RozM.ini")), " 1 \r\n" + local("c.mp3") + "\r\n");
        // Qt's own removal of the folder would not see the file.
        QCOMPARE(::unlink(odd.constData()), 0);
    }
};

QTEST_MAIN(tst_musicDialog)
#include "tst_musicDialog.moc"
