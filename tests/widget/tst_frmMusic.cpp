// The music dialog in-process: its load (also hidden, and from damaged
// settings), list editing where it differs from the picture dialog, and the
// way back to the picture dialog by OK, Cancel and the close box.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ListBox.h"
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
    void writeList(const QByteArray &bytes) { program->writeProgramFile(kMusicListFile, bytes); }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<TestProgram>();
        boxes = std::make_unique<MessageBoxCatcher>();
        songs = std::make_unique<QTemporaryDir>();
        for (const char *name : {"a.mp3", "b.WAV", "c.wav", "d.txt", "e.mp3", "f.Mp3"}) {
            QFile f(songs->filePath(QString::fromLatin1(name)));
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

    // Loaded hidden, as the show loads it; damaged settings load what they can, silently.
    void loadsStoredChoices_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("randomM");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<Qt::CheckState>("state");
        QTest::newRow("good") << QByteArray(" 2 \r\n/m/a.mp3\r\n/m/b.wav\r\nextra\r\n") << "1"
                              << QStringList{"/m/a.mp3", "/m/b.wav"} << Qt::Checked;
        QTest::newRow("truncated, grayed") << QByteArray("3\n/m/a.mp3\n/m/b") << "2" << QStringList{"/m/a.mp3", "/m/b"}
                                           << Qt::PartiallyChecked;
        QTest::newRow("letters") << QByteArray("three\r\n/m/a.mp3\r\n") << "yes" << QStringList{} << Qt::Unchecked;
        QTest::newRow("out of range") << QByteArray(" 40000 \r\n/m/a.mp3\r\n") << "-1" << QStringList{}
                                      << Qt::Unchecked;
    }
    void loadsStoredChoices()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, randomM);
        QFETCH(QStringList, list);
        QFETCH(Qt::CheckState, state);
        writeList(file);
        QCOMPARE((*program)->store().save(kAppTitle, kPresets, kRandomM, randomM), QString());
        frmMusic &d = dialog();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.List1()->entries(), list);
        QCOMPARE(d.chkRandomM()->checkState(), state);
        QVERIFY(boxes->boxes().empty());
        QVERIFY(d.List1()->horizontalExtent() > (list.isEmpty() ? 0 : 30));
    }

    // Where it differs from the picture dialog: only songs are offered, a click
    // on an entry names it but previews nothing, Up and Down leave the name
    // alone, and a double-click only removes.
    void editingLeavesTheNameToClicks()
    {
        writeList(" 4 \r\n/m/0.mp3\r\n/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n");
        frmMusic &d = shown();
        ListBox *list = d.List1();
        auto *files = control<FileBox>(d, "File1");
        auto *label = control<QLabel>(d, "Label3");
        QVERIFY(control<FolderBox>(d, "Dir1")->setPath(songs->path()));
        QCOMPARE(files->entries(), (QStringList{"a.mp3", "b.WAV", "c.wav", "e.mp3", "f.Mp3"}));

        clickRow(*list, 1);
        QCOMPARE(label->text(), QStringLiteral("/m/1.mp3"));
        for (const char *name : {"Command2", "Command5", "Command6"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        clickRow(*files, 0);
        QCOMPARE(label->text(), QStringLiteral("a.mp3"));
        button(d, "Command5")->click();
        QCOMPARE(list->entries(), (QStringList{"/m/1.mp3", "/m/0.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QVERIFY(list->item(0)->isSelected());
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{"/m/0.mp3", "/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QCOMPARE(label->text(), QStringLiteral("a.mp3"));

        doubleClickRow(*list, 0);
        QCOMPARE(list->entries(), (QStringList{"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QCOMPARE(label->text(), QStringLiteral("/m/0.mp3"));
        QVERIFY(boxes->boxes().empty());
    }

    // OK, OK that cannot write its file, Cancel and the close box: the picture
    // dialog comes back as it was left, not loaded anew; a failed OK keeps this
    // dialog and says why.
    void backToThePictures_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("stored");
        QTest::newRow("OK") << "OK" << "1";
        QTest::newRow("OK, file cannot be written") << "OK" << "";
        QTest::newRow("Cancel") << "Cancel" << "absent";
        QTest::newRow("close box") << "close box" << "absent";
    }
    void backToThePictures()
    {
        QFETCH(QString, how);
        QFETCH(QString, stored);
        const bool fails = QByteArray(QTest::currentDataTag()).contains("cannot");
        if (fails)
            QVERIFY(QDir(program->folder()).mkpath(QStringLiteral("RozM.ini/inside")));
        frmSettings &pictures = (*program)->form<frmSettings>();
        pictures.Text1()->setText(QStringLiteral("4"));
        pictures.show();
        button(pictures, "Command5")->click();
        QVERIFY(!pictures.isVisible());
        frmMusic &d = *(*program)->loadedForm<frmMusic>();
        QVERIFY(d.isVisible());
        d.chkRandomM()->setChecked(true);
        if (how == u"close box")
            d.close();
        else
            button(d, how == u"OK" ? "Command3" : "Command4")->click();
        QVERIFY(!(*program)->hasEnded());
        if (fails) {
            QCOMPARE(boxes->boxes().size(), size_t(1));
            QCOMPARE(boxes->boxes()[0].icon, QMessageBox::Critical);
            QVERIFY(boxes->boxes()[0].text.contains(QStringLiteral("RozM.ini")));
            QCOMPARE((*program)->loadedForm<frmMusic>(), &d);
            QVERIFY(d.isVisible() && !pictures.isVisible());
            return;
        }
        QVERIFY(!(*program)->loadedForm<frmMusic>());
        QCOMPARE((*program)->loadedForm<frmSettings>(), &pictures);
        QVERIFY(pictures.isVisible());
        QCOMPARE(pictures.Text1()->text(), QStringLiteral("4"));
        QCOMPARE((*program)->store().get(kAppTitle, kPresets, kRandomM, QStringLiteral("absent")), stored);
    }
};

QTEST_MAIN(tst_frmMusic)
#include "tst_frmMusic.moc"
