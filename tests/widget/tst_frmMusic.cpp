// The music dialog in-process, where its list editing differs from the
// picture dialog's: only songs are offered, a click on an entry names it but
// previews nothing, Up and Down leave the name alone, a double-click only removes.

#include <QFile>
#include <QLabel>
#include <QTest>

#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ListBox.h"
#include "dialogs/music/frmMusic.h"
#include "settings/MusicSettings.h"
#include "support/MessageBoxCatcher.h"
#include "support/TestProgram.h"
#include "support/Widgets.h"

using namespace vz;
using namespace vz::test;

class tst_frmMusic : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editingLeavesTheNameToClicks()
    {
        TestProgram program;
        MessageBoxCatcher boxes;
        QTemporaryDir songs;
        for (const char *name : {"a.mp3", "b.WAV", "c.wav", "d.txt", "e.mp3", "f.Mp3"})
            QVERIFY(QFile(songs.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        program.writeProgramFile(kMusicListFile, " 4 \r\n/m/0.mp3\r\n/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n");
        frmMusic &d = program->form<frmMusic>();
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        ListBox *list = d.List1();
        auto *files = control<FileBox>(d, "File1");
        auto *label = control<QLabel>(d, "Label3");
        QVERIFY(control<FolderBox>(d, "Dir1")->setPath(songs.path()));
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
        QVERIFY(boxes.boxes().empty());
    }
};

QTEST_MAIN(tst_frmMusic)
#include "tst_frmMusic.moc"
