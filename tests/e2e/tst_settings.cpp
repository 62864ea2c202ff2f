// Settings mode as a user meets it: the real program with "/c" on a private X
// server, driven by keys through the dialogs' focus order and access keys; the
// list files and stored values checked afterwards.

#include <QDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "support/Desktop.h"
#include "support/Faults.h"

using namespace vz::test;

namespace {

const QString kPictures = QStringLiteral("^Veroridovuz - Select Graphics$");
const QString kMusic = QStringLiteral("^Veroridovuz - Select Music$");
const QString kAbout = QStringLiteral("^About Veroridovuz$");
const QString kShow = QStringLiteral("^Veroridovuz$");

struct Settings {
    XServer x;
    App app{x};

    Settings()
    {
        solidPicture(app, QStringLiteral("a.bmp"), {40, 30}, Qt::red);
        QImage(40, 30, QImage::Format_RGB32).save(app.filePath(QStringLiteral("b.jpg")), "JPEG");
        solidPicture(app, QStringLiteral("c.bmp"), {40, 30}, Qt::blue);
        for (const char *name : {"a.mp3", "b.wav", "c.mp3", "d.wav", "f.txt"})
            app.writeFile(QString::fromLatin1(name), {});
    }
    // Qt's own removal of the folder would not see the odd names.
    ~Settings()
    {
        for (const char *ext : {"bmp", "mp3"})
            ::unlink((path("b") + "\xE9." + ext).constData());
    }
    // "b\xE9.ext": a name that is not text in the system's encoding.
    void oddName(const char *ext)
    {
        FILE *f = std::fopen((path("b") + "\xE9." + ext).constData(), "w");
        QVERIFY(f);
        std::fclose(f);
    }
    QByteArray path(const char *name) const { return app.filePath(QString::fromLatin1(name)).toLocal8Bit(); }
    QByteArray list(const QByteArray &head, const QList<const char *> &names) const
    {
        QByteArray b = head + " " + QByteArray::number(names.size()) + " \r\n";
        for (const char *name : names)
            b += path(name) + "\r\n";
        return b;
    }
    // The dialog comes up (and takes the keys) and the other one has gone.
    bool swapTo(const QString &shown, const QString &gone)
    {
        return x.activate(shown) && waitFor([&] { return x.windowsNamed(gone).isEmpty(); });
    }
};

} // namespace

class tst_settings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pictureListByKeyboard()
    {
        Settings s;
        s.oddName("bmp");
        s.app.start({QStringLiteral("/c")});
        const auto rect = s.x.activate(kPictures);
        QVERIFY(rect);
        QCOMPARE(rect->size(), QSize(545, 357));
        QVERIFY((rect->center() - QRect(QPoint(0, 0), s.x.size()).center()).manhattanLength() <= 2);
        // All four files to the list; the odd name is refused with a message.
        s.x.key(QStringLiteral("Tab Tab Home shift+End alt+greater"));
        QVERIFY(answerMessage(s.x));
        QVERIFY(s.x.activate(kPictures));
        // c up twice and down once, then a removed: c, b.
        s.x.key(QStringLiteral("shift+Tab End alt+u alt+u alt+d shift+Tab shift+Tab shift+Tab Home alt+r"));
        // Random ticked, interval typed, OK.
        s.x.key(QStringLiteral("Tab Tab Tab space Tab Tab Tab Tab 7 alt+o"));
        QVERIFY(s.app.waitForExit());
        QCOMPARE(s.app.readFile(QStringLiteral("RozG.ini")), s.list("7\r\n", {"c.bmp", "b.jpg"}));
        QCOMPARE(s.app.stored(QStringLiteral("RandomP")), QStringLiteral("1"));
    }

    // The interval check, then the music dialog: edited, saved, reopened as
    // saved, and the picture dialog back as it was left.
    void intervalAndMusic()
    {
        Settings s;
        s.oddName("mp3");
        s.app.start({QStringLiteral("/c")});
        QVERIFY(s.x.activate(kPictures));
        s.x.key(QStringLiteral("shift+Tab shift+Tab a b c Tab"));
        QVERIFY(answerMessage(s.x));
        // Emptied, the focus back in the box: letters again, and OK refuses to save.
        QVERIFY(s.x.activate(kPictures));
        s.x.key(QStringLiteral("5 x alt+o"));
        QVERIFY(answerMessage(s.x));
        QVERIFY(s.app.running() && !QFile::exists(s.app.filePath(QStringLiteral("RozG.ini"))));
        QVERIFY(s.x.activate(kPictures));
        s.x.key(QStringLiteral("minus 2 period 5 alt+a"));

        QVERIFY(s.swapTo(kMusic, kPictures));
        s.x.key(QStringLiteral("Tab Tab Home shift+End alt+greater"));
        QVERIFY(answerMessage(s.x));
        QVERIFY(s.x.activate(kMusic));
        // d up twice, then a removed (Alt+R is also "Play &Random"'s, so it
        // only moves the focus here): d, b, c; random ticked.
        s.x.key(QStringLiteral("shift+Tab End alt+u alt+u shift+Tab shift+Tab Home Tab Tab Tab Tab space Tab space alt+o"));
        QVERIFY(s.swapTo(kPictures, kMusic));
        const QByteArray saved = s.list({}, {"d.wav", "b.wav", "c.mp3"});
        QCOMPARE(s.app.readFile(QStringLiteral("RozM.ini")), saved);
        QCOMPARE(s.app.stored(QStringLiteral("RandomM")), QStringLiteral("1"));
        s.x.key(QStringLiteral("alt+a"));
        QVERIFY(s.swapTo(kMusic, kPictures));
        s.app.writeFile(QStringLiteral("RozM.ini"), {});
        s.app.setStored(QStringLiteral("RandomM"), QStringLiteral("0"));
        s.x.key(QStringLiteral("alt+o"));
        QVERIFY(s.swapTo(kPictures, kMusic));
        QCOMPARE(s.app.readFile(QStringLiteral("RozM.ini")), saved);
        QCOMPARE(s.app.stored(QStringLiteral("RandomM")), QStringLiteral("1"));
        s.x.key(QStringLiteral("alt+o"));
        QVERIFY(s.app.waitForExit());
        QCOMPARE(s.app.readFile(QStringLiteral("RozG.ini")), QByteArray("-2.5\r\n 0 \r\n"));
    }

    // Edits in both dialogs, each left by Cancel or by its close box: nothing
    // stored. The dialogs keep their size in logical pixels at two device
    // pixels to one.
    void cancelAndCloseBoxStoreNothing()
    {
        Settings s;
        const QByteArray pictures = " 10 \r\n 1 \r\n/somewhere/else.jpg\r\n";
        const QByteArray music = "2\n/somewhere/else.mp3\r\n/x.wav\r\ntrailing";
        s.app.writeFile(QStringLiteral("RozG.ini"), pictures);
        s.app.writeFile(QStringLiteral("RozM.ini"), music);
        s.app.setStored(QStringLiteral("RandomP"), QStringLiteral("0"));
        s.app.setStored(QStringLiteral("RandomM"), QStringLiteral("0"));
        s.app.setEnv(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        s.app.start({QStringLiteral("/c")});
        const auto rect = s.x.activate(kPictures);
        QVERIFY(rect);
        QCOMPARE(rect->size(), QSize(545, 357) * 2);
        s.x.key(QStringLiteral("Tab Tab End Home alt+greater Tab Tab Tab space"));
        for (const char *leave : {"alt+c", "close box"}) {
            s.x.key(QStringLiteral("alt+a"));
            QVERIFY(s.swapTo(kMusic, kPictures));
            s.x.key(QStringLiteral("Tab Tab End Home alt+greater Tab space"));
            if (leave == QByteArray("close box"))
                QVERIFY(s.x.closeWindow(s.x.windowsNamed(kMusic).value(0)));
            else
                s.x.key(QString::fromLatin1(leave));
            QVERIFY(s.swapTo(kPictures, kMusic));
            QCOMPARE(s.app.readFile(QStringLiteral("RozM.ini")), music);
            QCOMPARE(s.app.stored(QStringLiteral("RandomM")), QStringLiteral("0"));
        }
        QVERIFY(s.x.closeWindow(s.x.windowsNamed(kPictures).value(0)));
        QVERIFY(s.app.waitForExit());
        QCOMPARE(s.app.readFile(QStringLiteral("RozG.ini")), pictures);
        QCOMPARE(s.app.stored(QStringLiteral("RandomP")), QStringLiteral("0"));
    }

    // OK that cannot save, in either dialog: a message, nothing changed on
    // disk, the dialog still up with its edits, which OK saves once the fault
    // is lifted.
    void okThatCannotSaveLosesNothing_data() { addWriteFaultRows(); }
    void okThatCannotSaveLosesNothing()
    {
        QFETCH(WriteFault, fault);
        Settings s;
        const bool folders = fault == WriteFault::FolderForListFile;
        if (!folders) {
            s.app.writeFile(QStringLiteral("RozG.ini"), "3\r\n 1 \r\n/pictures/old.jpg\r\n");
            s.app.writeFile(QStringLiteral("RozM.ini"), " 1 \r\n/music/old.mp3\r\n");
        }
        FolderFault f(s.app, fault);
        if (!f.unavailable().isEmpty())
            QSKIP(qPrintable(f.unavailable()));
        s.app.start({QStringLiteral("/c")});
        QVERIFY(s.x.activate(kPictures));
        // Folders in the list files' places load as empty lists, silently.
        QVERIFY(s.x.windowsNamed(kShow).isEmpty());
        s.x.key(QStringLiteral("Tab Tab End Home alt+greater alt+a"));
        QVERIFY(s.swapTo(kMusic, kPictures));
        s.x.key(QStringLiteral("Tab Tab End Home alt+greater"));
        for (const QString &dialog : {kMusic, kPictures}) {
            f.arm();
            const auto before = snapshot(s.app.folder());
            s.x.key(QStringLiteral("alt+o"));
            QVERIFY(answerMessage(s.x));
            QVERIFY(s.app.running() && s.x.activate(dialog));
            QCOMPARE(snapshot(s.app.folder()), before);
            f.lift();
            s.x.key(QStringLiteral("alt+o"));
            if (dialog == kMusic)
                QVERIFY(s.swapTo(kPictures, kMusic));
        }
        QVERIFY(s.app.waitForExit());
        QCOMPARE(s.app.readFile(QStringLiteral("RozM.ini")),
                 folders ? s.list({}, {"a.mp3"}) : " 2 \r\n/music/old.mp3\r\n" + s.path("a.mp3") + "\r\n");
        QCOMPARE(s.app.readFile(QStringLiteral("RozG.ini")), folders ? s.list(" 10 \r\n", {"a.bmp"})
                 : "3\r\n 2 \r\n/pictures/old.jpg\r\n" + s.path("a.bmp") + "\r\n");
    }

    // The About dialog beside the picture dialog: its links handed to the
    // desktop's opener (a recording xdg-open), the system information tool
    // started or reported missing, Esc leaving it open, and the picture
    // dialog's OK ending the program with it.
    void aboutDialog()
    {
        Settings s;
        QTemporaryDir tools;
        const QString opened = tools.filePath(QStringLiteral("opened.txt"));
        for (const char *name : {"xdg-open", "hardinfo"}) {
            QFile f(tools.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("#!/bin/sh\necho \"%1 $*\" >> '%2'\n").arg(QString::fromLatin1(name), opened).toUtf8());
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        }
        s.app.setEnv(QStringLiteral("PATH"), tools.path() + QStringLiteral(":/usr/bin:/bin"));
        s.app.setEnv(QStringLiteral("XDG_CONFIG_DIRS"), tools.path());
        s.app.setEnv(QStringLiteral("XDG_CURRENT_DESKTOP"), {});
        s.app.start({QStringLiteral("/c")});
        const auto pictures = s.x.activate(kPictures);
        QVERIFY(pictures);
        s.x.key(QStringLiteral("alt+b"));
        const auto about = s.x.activate(kAbout);
        QVERIFY(about);
        QCOMPARE(about->size(), QSize(382, 266));
        QVERIFY((about->center() - QRect(QPoint(0, 0), s.x.size()).center()).manhattanLength() <= 2);
        QStringList expected;
        const QString home = QStringLiteral("xdg-open https://www.zizure.example");
        const auto recorded = [&](const QString &line) {
            expected << line;
            return waitFor([&] {
                QFile f(opened);
                return f.open(QIODevice::ReadOnly) && QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts) == expected;
            });
        };
        s.x.key(QStringLiteral("alt+j"));
        QVERIFY(recorded(home + QStringLiteral("/Pages/VazaZez.html")));
        s.x.key(QStringLiteral("alt+z"));
        QVERIFY(recorded(home));
        // The pictures: picIcon, Image2, Image1.
        for (auto [at, page] : {std::pair{QPoint(43, 81), home}, {QPoint(311, 41), home + "/Pages/Veroridovuz.html"},
                                {QPoint(360, 16), home}}) {
            s.x.mouseMove(about->topLeft() + at);
            s.x.click();
            QVERIFY2(recorded(page), qPrintable(page));
        }
        s.x.key(QStringLiteral("alt+s"));
        QVERIFY(recorded(QStringLiteral("hardinfo ")));
        // Esc leaves it open: the next key still reaches it.
        QVERIFY(QFile::remove(tools.filePath(QStringLiteral("hardinfo"))));
        QVERIFY(s.x.activate(kAbout));
        s.x.key(QStringLiteral("Escape alt+s"));
        QVERIFY(answerMessage(s.x));
        QVERIFY(!s.x.windowsNamed(kAbout).isEmpty() && s.x.activate(kPictures));
        s.x.key(QStringLiteral("alt+o"));
        QVERIFY(s.app.waitForExit());
    }

    // A second show is refused only where a window titled exactly "Veroridovuz"
    // runs; the preview switch and a missing host window open nothing.
    void startsThatOpenNothing()
    {
        XServer x;
        App first(x);
        solidPicture(first, QStringLiteral("a.bmp"), {100, 51}, Qt::red);
        writePictureList(first, QStringLiteral("1"), {first.filePath(QStringLiteral("a.bmp"))});
        first.start({QStringLiteral("/c")});
        const auto dialog = x.waitForWindow(kPictures);
        QVERIFY(dialog);
        {
            auto second = first.launch({QStringLiteral("/s")});
            QVERIFY(x.waitForWindow(kShow));
            second->kill();
            second->waitForFinished(5000);
        }
        QVERIFY(waitFor([&] { return x.windowsNamed(kShow).isEmpty(); }));
        x.xdo({QStringLiteral("set_window"), QStringLiteral("--name"), QStringLiteral("Veroridovuz"), dialog->first});
        QVERIFY(waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); }));
        for (const QStringList &args : {QStringList{"/s"}, QStringList{"/P"}, QStringList{"/p", "1234"},
                                        QStringList{"-window-id", "0x7fffff"}}) {
            const RunResult r = first.runToEnd(args, 10000);
            QVERIFY(r.finished);
            QCOMPARE(x.windowsNamed(QStringLiteral(".")), QStringList{dialog->first});
        }
        first.setEnv(QStringLiteral("DISPLAY"), QString());
        QCOMPARE(first.runToEnd({QStringLiteral("/P")}, 10000).exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(tst_settings)
#include "tst_settings.moc"
