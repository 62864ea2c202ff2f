// The music dialog in-process: its starting state, its load (also hidden, and
// from damaged settings), list editing where it differs from the picture
// dialog, the failures it reports, and the way back to the picture dialog by
// OK, Cancel and the close box.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ListBox.h"
#include "controls/ListEditing.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/SettingsStore.h"
#include "settings/ListFile.h"
#include "settings/MusicSettings.h"
#include "support/MessageBoxCatcher.h"
#include "support/Widgets.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

class tst_frmMusic : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<MessageBoxCatcher> boxes;
    std::unique_ptr<QTemporaryDir> songs;

    frmMusic &dialog() { return (*program)->form<frmMusic>(); }
    frmMusic &shown()
    {
        frmMusic &d = dialog();
        d.show();
        if (!QTest::qWaitForWindowActive(&d))
            qWarning("dialog not active");
        return d;
    }
    // The way a settings run gets here: the picture dialog swaps itself for this one.
    frmMusic &openedFromPictures()
    {
        frmSettings &pictures = (*program)->form<frmSettings>();
        pictures.show();
        button(pictures, "Command5")->click();
        return *(*program)->loadedForm<frmMusic>();
    }
    QString song(const QString &name) const { return songs->filePath(name); }
    void writeList(const QByteArray &bytes) { program->writeProgramFile(kMusicListFile, bytes); }
    QString stored() { return (*program)->store().get(QStringLiteral("Veroridovuz"), kPresets, kRandomM, QStringLiteral("absent")); }
    void store(const QString &value) { QCOMPARE((*program)->store().save(QStringLiteral("Veroridovuz"), kPresets, kRandomM, value), QString()); }
    void browseTo(frmMusic &d, const QString &folder) { QVERIFY(control<FolderBox>(d, "Dir1")->setPath(folder)); }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<TestProgram>();
        boxes = std::make_unique<MessageBoxCatcher>();
        songs = std::make_unique<QTemporaryDir>();
        for (const char *name : {"a.mp3", "b.WAV", "c.wav", "d.txt", "e.mp3", "f.Mp3"}) {
            QFile f(song(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
    void cleanup()
    {
        program.reset();
        boxes.reset();
        songs.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void firstStart()
    {
        frmMusic &d = shown();
        QCOMPARE(d.windowTitle(), QStringLiteral("Veroridovuz - Select Music"));
        QCOMPARE(d.size(), QSize(505, 258));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const QPoint offCentre = d.geometry().center() - d.screen()->availableGeometry().center();
        QVERIFY(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1);

        QCOMPARE(d.List1()->count(), 0);
        QCOMPARE(d.chkRandomM()->checkState(), Qt::Unchecked);
        for (const char *name : {"Command2", "Command5", "Command6"})
            QVERIFY2(!button(d, name)->isEnabled(), name);
        QCOMPARE(control<QLabel>(d, "Label3")->text(), QStringLiteral("Select MP3 or Wav"));
        QCOMPARE(control<FileBox>(d, "File1")->pattern(), QStringLiteral("*.mp3;*.wav"));
        QCOMPARE(button(d, "Command1")->toolTip(), QStringLiteral(" Add to the list "));
        QCOMPARE(button(d, "Command2")->toolTip(), QStringLiteral(" Remove from list "));
        QCOMPARE(QApplication::focusWidget(), control(d, "Drive1"));
        QCOMPARE(control<FileBox>(d, "File1")->path(), QDir::currentPath());

        const QStringList order{"Drive1", "Dir1", "File1", "List1", "Command1", "Command5", "Command6",
                                "Command2", "chkRandomM", "Command3", "Command4"};
        QStringList chain;
        QWidget *w = control(d, "Drive1");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != control(d, "Drive1"));
        QCOMPARE(chain, order);
    }

    // Loaded hidden, as the show loads it; damaged settings load what they can, silently.
    void loadsStoredChoices_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("randomM");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<Qt::CheckState>("state");
        const QStringList three{"/m/a.mp3", "/m/a much longer name.wav", "/m/a.mp3"};
        QTest::newRow("good") << QByteArray(" 3 \r\n/m/a.mp3\r\n/m/a much longer name.wav\r\n/m/a.mp3\r\nextra\r\n")
                              << "1" << three << Qt::Checked;
        QTest::newRow("LF only") << QByteArray("3\n/m/a.mp3\n/m/a much longer name.wav\n/m/a.mp3\n") << "0"
                                 << three << Qt::Unchecked;
        QTest::newRow("truncated") << QByteArray(" 3 \r\n/m/a.mp3\r\n/m/a much") << "2"
                                   << QStringList{"/m/a.mp3", "/m/a much"} << Qt::PartiallyChecked;
        QTest::newRow("letters") << QByteArray("three\r\n/m/a.mp3\r\n") << "yes" << QStringList{} << Qt::Unchecked;
        QTest::newRow("5") << QByteArray(" 1 \r\n/m/a.mp3\r\n") << "5" << QStringList{"/m/a.mp3"} << Qt::Unchecked;
        QTest::newRow("-1") << QByteArray(" -1 \r\n/m/a.mp3\r\n") << "-1" << QStringList{} << Qt::Unchecked;
        QTest::newRow("40000") << QByteArray(" 40000 \r\n/m/a.mp3\r\n") << "40000" << QStringList{} << Qt::Unchecked;
        QTest::newRow("empty file") << QByteArray() << "" << QStringList{} << Qt::Unchecked;
    }
    void loadsStoredChoices()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, randomM);
        QFETCH(QStringList, list);
        QFETCH(Qt::CheckState, state);
        writeList(file);
        store(randomM);
        frmMusic &d = dialog();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.List1()->entries(), list);
        QCOMPARE(d.chkRandomM()->checkState(), state);
        QTest::qWait(20);
        QVERIFY(boxes->boxes().empty());
        if (!list.isEmpty())
            QVERIFY(d.List1()->horizontalExtent() > 0);
    }

    void editingLeavesTheStatusLineToClicks()
    {
        writeList(" 4 \r\n/m/0.mp3\r\n/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n");
        frmMusic &d = shown();
        ListBox *list = d.List1();
        auto *label = control<QLabel>(d, "Label3");

        clickRow(*list, 1);
        QCOMPARE(label->text(), QStringLiteral("/m/1.mp3"));
        for (const char *name : {"Command2", "Command5", "Command6"})
            QVERIFY2(button(d, name)->isEnabled(), name);

        // Up and Down move the entry, keep it selected, and leave the status line
        // alone: it still names the file clicked last.
        browseTo(d, songs->path());
        clickRow(*control<FileBox>(d, "File1"), 0);
        button(d, "Command5")->click();
        QCOMPARE(list->entries(), (QStringList{"/m/1.mp3", "/m/0.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QVERIFY(list->item(0)->isSelected());
        QCOMPARE(label->text(), QStringLiteral("a.mp3"));
        button(d, "Command5")->click(); // first entry: nothing
        QCOMPARE(list->item(0)->text(), QStringLiteral("/m/1.mp3"));
        clickRow(*list, 2);
        button(d, "Command6")->click();
        button(d, "Command6")->click(); // last entry: nothing
        QCOMPARE(list->entries(), (QStringList{"/m/1.mp3", "/m/0.mp3", "/m/3.mp3", "/m/2.mp3"}));
        QCOMPARE(label->text(), QStringLiteral("/m/2.mp3"));
        clickRow(*list, 1);
        clickRow(*control<FileBox>(d, "File1"), 1);
        button(d, "Command6")->click();
        QCOMPARE(label->text(), QStringLiteral("b.WAV"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("/m/0.mp3"));

        // A double-click only removes.
        doubleClickRow(*list, 0);
        QCOMPARE(list->entries(), (QStringList{"/m/3.mp3", "/m/0.mp3", "/m/2.mp3"}));
        QCOMPARE(label->text(), QStringLiteral("/m/1.mp3"));
    }

    // A folder that cannot be listed, whether the folder box refuses to open it
    // or it vanishes under the file box: a message, and the dialog works on.
    void unreadableFolder_data()
    {
        QTest::addColumn<bool>("fromFolderBox");
        QTest::newRow("opened in the folder box") << true;
        QTest::newRow("gone before the file box lists it") << false;
    }
    void unreadableFolder()
    {
        QFETCH(bool, fromFolderBox);
        const QString gone = song(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(gone));
        frmMusic &d = shown();
        auto *folders = control<FolderBox>(d, "Dir1");
        auto *files = control<FileBox>(d, "File1");
        browseTo(d, fromFolderBox ? songs->path() : gone);
        QVERIFY(QDir().rmdir(gone));
        if (fromFolderBox) {
            const auto rows = folders->findItems(QStringLiteral("gone"), Qt::MatchExactly);
            QCOMPARE(rows.size(), 1);
            doubleClickRow(*folders, folders->row(rows.first()));
        } else {
            QVERIFY(QMetaObject::invokeMethod(&d, "Dir1_Change"));
            QCOMPARE(files->count(), 0);
        }
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(boxes->boxes()[0].title, QStringLiteral("Veroridovuz"));
        QVERIFY2(boxes->boxes()[0].text.contains(gone), qPrintable(boxes->boxes()[0].text));

        browseTo(d, songs->path());
        QCOMPARE(files->count(), 5);
        doubleClickRow(*files, 0);
        QCOMPARE(d.List1()->entries(), QStringList{song("a.mp3")});
    }

    // The count line holds at most 32767; more would be saved as a list that
    // loads back empty.
    void fullListTakesNoMore()
    {
        frmMusic &d = shown();
        QStringList many;
        for (int i = 0; i < kMaxListEntries - 1; ++i)
            many << QStringLiteral("/m/%1.mp3").arg(i);
        d.List1()->addItems(many);
        browseTo(d, songs->path());
        auto *files = control<FileBox>(d, "File1");

        clickRow(*files, 0);
        clickRow(*files, 1, Qt::ControlModifier);
        button(d, "Command1")->click();
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(d.List1()->count(), kMaxListEntries - 1);
        QCOMPARE(files->selectedItems().size(), 2);

        doubleClickRow(*files, 4);
        QCOMPARE(d.List1()->count(), kMaxListEntries);
        doubleClickRow(*files, 4);
        QCOMPARE(boxes->boxes().size(), size_t(2));
        QVERIFY(boxes->boxes()[1].text.contains(QStringLiteral("32767")));
        QCOMPARE(d.List1()->count(), kMaxListEntries);
    }

    void okThatCannotWriteKeepsTheDialog()
    {
        QVERIFY(QDir(program->folder()).mkpath(QStringLiteral("RozM.ini/inside")));
        frmMusic &d = openedFromPictures();
        button(d, "Command3")->click();
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(boxes->boxes()[0].icon, QMessageBox::Critical);
        QVERIFY(boxes->boxes()[0].text.contains(QStringLiteral("RozM.ini")));
        QCOMPARE((*program)->loadedForm<frmMusic>(), &d);
        QVERIFY(d.isVisible());
        QVERIFY(!(*program)->loadedForm<frmSettings>()->isVisible());
    }

    // The picture dialog comes back as it was left, not loaded anew.
    void cancelAndCloseBoxBringBackThePictures_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxBringBackThePictures()
    {
        QFETCH(bool, closeBox);
        frmSettings &pictures = (*program)->form<frmSettings>();
        pictures.Text1()->setText(QStringLiteral("4"));
        frmMusic &d = openedFromPictures();
        d.chkRandomM()->setChecked(true);
        if (closeBox)
            d.close();
        else
            button(d, "Command4")->click();
        QVERIFY(!(*program)->loadedForm<frmMusic>());
        QCOMPARE((*program)->loadedForm<frmSettings>(), &pictures);
        QVERIFY(pictures.isVisible());
        QCOMPARE(pictures.Text1()->text(), QStringLiteral("4"));
        QVERIFY(!(*program)->hasEnded());
        QCOMPARE(stored(), QStringLiteral("absent"));
    }
};

QTEST_MAIN(tst_frmMusic)
#include "tst_frmMusic.moc"
