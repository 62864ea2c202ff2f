// The picture dialog in-process: its load (also hidden, as the show's data
// holder), unreadable places, preview and names, a full list, Cancel with
// About open; and where the music dialog's list editing differs from it.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "controls/DriveBox.h"
#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ImageView.h"
#include "controls/ListBox.h"
#include "controls/ListEditing.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/SettingsStore.h"
#include "settings/ListFile.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "support/MessageBoxCatcher.h"
#include "support/Widgets.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

const QString kInvalidPicture = QStringLiteral("Invalid picture format,can not be inserted in the screen saver");

// Every pixel of the view's picture is close to colour.
bool showsOnly(ImageView *view, QColor colour)
{
    const QImage shot = view->grab().toImage();
    if (shot.size() != QSize(129, 81))
        return false;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4) {
            const QColor c = shot.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) > 12 || qAbs(c.green() - colour.green()) > 12
                || qAbs(c.blue() - colour.blue()) > 12)
                return false;
        }
    return true;
}

void saveImage(const QString &path, QSize size, QColor colour, const char *format)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QVERIFY(img.save(path, format));
}

} // namespace

class tst_frmSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<MessageBoxCatcher> boxes;
    std::unique_ptr<QTemporaryDir> pictures;

    frmSettings &dialog() { return (*program)->form<frmSettings>(); }
    frmSettings &shown()
    {
        frmSettings &d = dialog();
        d.show();
        if (!QTest::qWaitForWindowActive(&d))
            qWarning("dialog not active");
        return d;
    }
    QString picture(const QString &name) const { return pictures->filePath(name); }
    void writeList(const QByteArray &bytes) { program->writeProgramFile(kPictureListFile, bytes); }
    void browseTo(frmSettings &d, const QString &folder) { QVERIFY(control<FolderBox>(d, "Dir1")->setPath(folder)); }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<TestProgram>();
        boxes = std::make_unique<MessageBoxCatcher>();
        pictures = std::make_unique<QTemporaryDir>();
        saveImage(picture(QStringLiteral("a_red.bmp")), {64, 48}, Qt::red, "BMP");
        saveImage(picture(QStringLiteral("b_blue.jpg")), {20, 200}, Qt::blue, "JPEG");
        QFile text(picture(QStringLiteral("d_text.jpg")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("this is not a picture\n");
    }
    void cleanup()
    {
        // Ending the program asks the application's event loop to quit; a loop
        // run now takes that request, so later message boxes do not return at once.
        if ((*program)->hasEnded()) {
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
        }
        program.reset();
        boxes.reset();
        pictures.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Loaded hidden, as the show loads it; damaged settings load what they
    // can, silently. The scroll range fits the longest entry by character
    // count (the earlier on a tie) in the dialog's type, and stays as set at
    // load when longer entries come and when Qt lays the list out again.
    void loadsStoredChoices_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: none
        QTest::addColumn<QString>("randomP");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<Qt::CheckState>("state");
        const QStringList three{"/p/a.jpg", "/pictures/a name longer than the list box is wide.jpg", "/p/a.jpg"};
        QTest::newRow("first start") << QByteArray() << "" << "" << QStringList{} << Qt::Unchecked;
        QTest::newRow("good") << " 10 \r\n 3 \r\n" + three.join("\r\n").toUtf8() + "\r\nextra\r\n" << "1" << " 10 "
                              << three << Qt::Checked;
        QTest::newRow("truncated, grayed") << QByteArray("5\n 3 \n/p/a.jpg\n/p/b") << "2" << "5"
                                           << QStringList{"/p/a.jpg", "/p/b"} << Qt::PartiallyChecked;
        QTest::newRow("letters") << QByteArray("abc\r\nxyz\r\n/p/a.jpg\r\n") << "yes" << "abc" << QStringList{}
                                 << Qt::Unchecked;
        QTest::newRow("more characters beat wider glyphs")
            << QByteArray("1\r\n 3 \r\nWWWWWWWWWW\r\niiiiiiiiiii\r\nWWWWWWWWWWW\r\n") << "0" << "1"
            << QStringList{"WWWWWWWWWW", "iiiiiiiiiii", "WWWWWWWWWWW"} << Qt::Unchecked;
    }
    void loadsStoredChoices()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, randomP);
        QFETCH(QString, interval);
        QFETCH(QStringList, list);
        QFETCH(Qt::CheckState, state);
        if (!file.isNull())
            writeList(file);
        if (!randomP.isEmpty())
            QVERIFY(!(*program)->store().save(kAppTitle, kPresets, kRandomP, randomP));
        frmSettings &d = dialog();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.Text1()->text(), interval);
        QCOMPARE(d.List1()->entries(), list);
        QCOMPARE(d.chkRandomP()->checkState(), state);
        QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(!button(d, name)->isEnabled(), name);
        QCOMPARE(control<QLabel>(d, "Label6")->text(), QStringLiteral("Select pictures for the Screen Saver"));
        QVERIFY(boxes->boxes().empty());
        QString longest;
        for (const QString &entry : list)
            longest = entry.size() > longest.size() ? entry : longest;
        const qreal measured = QFontMetricsF(d.font()).horizontalAdvance(longest + u' ');
        const int extent = d.List1()->horizontalExtent();
        QVERIFY2(extent <= measured + 0.04 && extent > measured - 1, qPrintable(QString::number(extent)));

        shown();
        QTRY_COMPARE(QApplication::focusWidget(), control(d, "Drive1"));
        browseTo(d, pictures->path());
        clickRow(*control<FileBox>(d, "File1"), 0);
        button(d, "Command1")->click();
        doubleClickRow(*control<FileBox>(d, "File1"), 1);
        QCOMPARE(d.List1()->horizontalExtent(), extent);
        const QScrollBar *bar = d.List1()->horizontalScrollBar();
        const int page = d.List1()->viewport()->width();
        QTRY_COMPARE(bar->isVisible(), extent > page);
        QCOMPARE(bar->maximum() + bar->pageStep(), std::max(extent, page));
    }

    // The file box lists the files of every format the loader reads, and only those.
    void fileBoxListsPictureFormats()
    {
        for (const char *name : {"c.png", "e.webp", "f.tif", "g.TIFF", "h.heic", "i.heif", "j.avif", "k.txt", "l.psd"})
            QVERIFY(QFile(picture(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        frmSettings &d = dialog();
        browseTo(d, pictures->path());
        const auto *files = control<FileBox>(d, "File1");
        QStringList names;
        for (int i = 0; i < files->count(); ++i)
            names << files->item(i)->text();
        QCOMPARE(names, (QStringList{"a_red.bmp", "b_blue.jpg", "c.png", "d_text.jpg", "e.webp", "f.tif", "g.TIFF",
                                     "h.heic", "i.heif", "j.avif"}));
    }

    // A drive that cannot be read, a folder that vanishes before the folder box
    // opens it and one that vanishes under the file box: a message each, and
    // the dialog works on.
    void unreadablePlacesAreReported()
    {
        frmSettings &d = shown();
        auto *drives = control<DriveBox>(d, "Drive1");
        drives->addDrive(QStringLiteral("/nonexistent-drive"));
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(drives->drive(), QStringLiteral("/"));
        QCOMPARE(control<FileBox>(d, "File1")->path(), QStringLiteral("/"));
        const QString gone = picture(QStringLiteral("gone"));
        auto *folders = control<FolderBox>(d, "Dir1");
        for (const bool fromFolderBox : {true, false}) {
            QVERIFY(QDir().mkdir(gone));
            browseTo(d, fromFolderBox ? pictures->path() : gone);
            QVERIFY(QDir().rmdir(gone));
            if (fromFolderBox)
                doubleClickRow(*folders, folders->row(folders->findItems(QStringLiteral("gone"), Qt::MatchExactly)[0]));
            else
                QVERIFY(QMetaObject::invokeMethod(&d, "Dir1_Change"));
        }
        QCOMPARE(boxes->boxes().size(), size_t(3));
        QCOMPARE(boxes->boxes()[0].text,
                 QStringLiteral("The selected drive is not ready or\r\nnot responding properly"));
        for (int i : {1, 2})
            QVERIFY2(boxes->boxes()[i].text.contains(gone), qPrintable(boxes->boxes()[i].text));
        browseTo(d, pictures->path());
        doubleClickRow(*control<FileBox>(d, "File1"), 0);
        QCOMPARE(d.List1()->entries(), QStringList{picture("a_red.bmp")});
    }

    // What the music dialog does otherwise: a click previews the file or entry
    // and names it, Up and Down name the moved entry, a double-click on an
    // entry hides the preview.
    void previewAndNames()
    {
        const QString missing = picture(QStringLiteral("gone.jpg"));
        writeList(QStringLiteral(" 3 \r\n 3 \r\n%1\r\n%2\r\n%3\r\n")
                      .arg(picture("a_red.bmp"), missing, picture("b_blue.jpg")).toUtf8());
        frmSettings &d = shown();
        ListBox *list = d.List1();
        auto *files = control<FileBox>(d, "File1");
        auto *preview = control<ImageView>(d, "Picture1");
        auto *label = control<QLabel>(d, "Label6");
        browseTo(d, pictures->path());

        // Not a picture: the message, the name shown, the last picture kept.
        clickRow(*files, 0);
        QVERIFY(showsOnly(preview, Qt::red));
        clickRow(*files, 2);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(boxes->boxes()[0].text, kInvalidPicture);
        QCOMPARE(boxes->boxes()[0].icon, QMessageBox::Critical);
        QCOMPARE(label->text(), QStringLiteral("d_text.jpg"));
        QVERIFY(showsOnly(preview, Qt::red));
        // Preview off: the name follows, nothing is loaded.
        control<QCheckBox>(d, "Check1")->setChecked(false);
        clickRow(*list, 1);
        QCOMPARE(label->text(), missing);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        control<QCheckBox>(d, "Check1")->setChecked(true);

        // Up and Down name the moved entry, whatever was named before.
        clickRow(*files, 1);
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{missing, picture("a_red.bmp"), picture("b_blue.jpg")}));
        QCOMPARE(label->text(), missing);
        clickRow(*list, 1);
        clickRow(*files, 0);
        button(d, "Command7")->click();
        QCOMPARE(list->entries(), (QStringList{missing, picture("b_blue.jpg"), picture("a_red.bmp")}));
        QCOMPARE(label->text(), picture("a_red.bmp"));
        // Arrow keys move the focus mark like a click does.
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(label->text(), picture("b_blue.jpg"));
        QVERIFY(showsOnly(preview, Qt::blue));

        doubleClickRow(*list, 2);
        QCOMPARE(list->entries(), (QStringList{missing, picture("b_blue.jpg")}));
        QVERIFY(preview->isHidden());
        // No current entry: Up changes nothing and clears the name.
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{missing, picture("b_blue.jpg")}));
        QCOMPARE(label->text(), QString());
        clickRow(*files, 1);
        QVERIFY(preview->isVisible());
    }

    // Past 32767 entries the count line could not hold the list.
    void fullListTakesNoMore()
    {
        frmSettings &d = shown();
        QStringList many;
        for (int i = 0; i < kMaxListEntries; ++i)
            many << QStringLiteral("/p/%1.jpg").arg(i);
        d.List1()->addItems(many);
        browseTo(d, pictures->path());
        doubleClickRow(*control<FileBox>(d, "File1"), 0);
        QCOMPARE(d.List1()->count(), kMaxListEntries);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QVERIFY(boxes->boxes()[0].text.contains(QStringLiteral("32767")));
    }

    // Where the music dialog's twin handlers differ: only songs are offered,
    // a click on an entry names it but previews nothing, Up and Down leave the
    // name alone, a double-click only removes.
    void musicDialogLeavesTheNameToClicks()
    {
        for (const char *name : {"a.mp3", "b.WAV", "c.wav", "e.mp3", "f.Mp3"})
            QVERIFY(QFile(picture(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        program->writeProgramFile(kMusicListFile, " 4 \r\n/m/0.mp3\r\n/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n");
        frmMusic &d = (*program)->form<frmMusic>();
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        ListBox *list = d.List1();
        auto *files = control<FileBox>(d, "File1");
        auto *label = control<QLabel>(d, "Label3");
        QVERIFY(control<FolderBox>(d, "Dir1")->setPath(pictures->path()));
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

    // The program ends when its last window goes, not with the picture dialog.
    void cancelWithAboutOpenKeepsRunning()
    {
        frmSettings &d = shown();
        button(d, "cmdAbout")->click();
        QVERIFY((*program)->loadedForm<frmAbout>()->isVisible());
        button(d, "Command4")->click();
        QVERIFY(!(*program)->hasEnded());
        (*program)->loadedForm<frmAbout>()->close();
        QVERIFY((*program)->hasEnded());
    }
};

QTEST_MAIN(tst_frmSettings)
#include "tst_frmSettings.moc"
