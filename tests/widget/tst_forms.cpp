// The forms in-process: the dialogs' design, loads (also hidden, as the show's
// data holder), list editing, browsing, preview and names, which window keeps
// the program running; and the show's sequencing.

#include <QCheckBox>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "controls/DriveBox.h"
#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ListEditing.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/HostWindow.h"
#include "runtime/Version.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "settings/ShowOptions.h"
#include "show/PictureBox.h"
#include "show/frmmain.h"
#include "startup/Module1.h"
#include "support/Forms.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

// The form's controls in focus order, a button or box with its caption.
QString focusChain(QWidget &form)
{
    static const QRegularExpression designed(QStringLiteral("^(Drive|Dir|File|List|Command|chk|Check|Text|cmd)"));
    QStringList chain;
    for (QWidget *w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain())
        if (designed.match(w->objectName()).hasMatch() && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName() + (qobject_cast<QAbstractButton *>(w) ? u':' + w->property("text").toString() : "");
    return chain.join(u' ');
}

// Every sampled pixel of the 129 x 81 preview is close to the colour.
bool showsOnly(QWidget *view, QColor c)
{
    const QImage shot = view->grab().toImage();
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4)
            if (!QRect(-12, -12, 25, 25).contains(shot.pixelColor(x, y).red() - c.red(), shot.pixelColor(x, y).blue() - c.blue()))
                return false;
    return shot.size() == QSize(129, 81);
}

// The scroll range fits the longest entry by character count (the earlier on
// a tie) and a blank, in the dialog's type, and shows a bar only beyond the page.
void checkExtent(ListBox &list, const QStringList &loaded)
{
    QString longest;
    for (const QString &entry : loaded)
        longest = entry.size() > longest.size() ? entry : longest;
    const qreal measured = QFontMetricsF(list.window()->font()).horizontalAdvance(longest + u' ');
    const int extent = list.horizontalExtent(), page = list.viewport()->width();
    QVERIFY2(extent <= measured + 0.04 && extent > measured - 1, qPrintable(QString::number(extent)));
    QTRY_COMPARE(list.horizontalScrollBar()->isVisible(), extent > page);
    QCOMPARE(list.horizontalScrollBar()->maximum() + list.horizontalScrollBar()->pageStep(), std::max(extent, page));
    // Every row reaches across the range: what can be scrolled into view is drawn there and takes clicks.
    for (int row = 0; row < list.count(); ++row)
        QVERIFY(list.visualItemRect(list.item(row)).width() >= std::max(extent, page));
}

// A list of entries and selected rows whose focus mark (-1: none) is set
// without touching the selection.
void prepare(QListWidget &list, const QStringList &entries, const QList<int> &selected, int current)
{
    list.addItems(entries);
    for (int r : selected)
        list.item(r)->setSelected(true);
    list.selectionModel()->setCurrentIndex(current < 0 ? QModelIndex() : list.model()->index(current, 0),
                                           QItemSelectionModel::NoUpdate);
}

QList<int> selectedRows(const QListWidget &list)
{
    QList<int> rows;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->isSelected())
            rows << i;
    return rows;
}

// Picture files i = 0.. of 10 + i pixels wide (or of the given size) in a
// picture list; then the show, loaded.
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

// Runs ticks of the picture timer; the picture shown at each.
QList<int> tick(frmmain &show, int ticks)
{
    QList<int> shown;
    show.timer1().setInterval(1);
    show.timer1().setSingleShot(true);
    for (int i = 0; i < ticks; ++i) {
        QSignalSpy spy(&show, &frmmain::pictureShown);
        show.timer1().start();
        spy.wait(5000);
        shown << show.image1().width() - 10;
    }
    return shown;
}

} // namespace

class tst_forms : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<MessageBoxCatcher> boxes;
    std::unique_ptr<QTemporaryDir> files;

    QString file(const QString &name) const { return files->filePath(name); }
    template <class F> F &shown()
    {
        F &d = (*program)->form<F>();
        d.show();
        (void)QTest::qWaitForWindowActive(&d);
        control<FolderBox>(d, "Dir1")->setPath(files->path());
        return d;
    }
    static QPushButton *button(QWidget &form, const char *name) { return control<QPushButton>(form, name); }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<TestProgram>();
        boxes = std::make_unique<MessageBoxCatcher>();
        files = std::make_unique<QTemporaryDir>();
        QImage red(64, 48, QImage::Format_RGB32), blue(20, 200, QImage::Format_RGB32);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        red.save(file("a_red.bmp"), "BMP");
        blue.save(file("b_blue.JPG"), "JPEG");
        for (const char *name : {"c.wav", "d_text.jpg", "e.Mp3", ".hidden.jpg", "f.png", "x.webp", "x.tif", "x.TIFF",
                                 "x.heic", "x.heif", "x.avif", "x.psd", "y.flac", "y.ogg", "y.oga", "y.opus", "y.M4A",
                                 "y.aac", "y.mid"})
            QFile(file(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        QDir(files->path()).mkdir(QStringLiteral("g.jpg"));
    }
    void cleanup()
    {
        // Ending the program asked the event loop to quit: the request is taken
        // now, so later message boxes do not return at once. No loop runs, for
        // the application's quit would end the test process with its code.
        QCoreApplication::sendPostedEvents();
        program.reset();
        boxes.reset();
        files.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void design()
    {
        frmSettings &s = (*program)->form<frmSettings>();
        frmMusic &m = (*program)->form<frmMusic>();
        frmAbout &a = (*program)->form<frmAbout>();
        QCOMPARE(s.windowTitle(), QStringLiteral("Veroridovuz - Select Graphics"));
        QCOMPARE(m.windowTitle(), QStringLiteral("Veroridovuz - Select Music"));
        QCOMPARE(a.windowTitle(), QStringLiteral("About Veroridovuz"));
        for (QWidget *form : std::initializer_list<QWidget *>{&s, &m})
            for (auto *b : form->findChildren<QPushButton *>())
                b->setEnabled(true);
        QCOMPARE(focusChain(s), QStringLiteral("Drive1 Dir1 File1 List1 Command1:&>> Command6:&Up Command7:&Down "
                                               "Command2:&Remove Command3:&OK Command4:&Cancel chkRandomP:Random chkFitP:&Fit large pictures "
                                               "Check1:Show &Preview Command5:&Add Music Text1 cmdAbout:A&bout"));
        QCOMPARE(focusChain(m), QStringLiteral("Drive1 Dir1 File1 List1 Command1:&>> Command5:&Up Command6:&Down "
                                               "Command2:&Remove chkRandomM:Play &Random Command3:&OK Command4:&Cancel"));
        QStringList captions;
        for (const char *name : {"Command1", "Command2", "Command3", "Command4", "lblTitle", "lblVersion"})
            captions << control(a, name)->property("text").toString();
        QCOMPARE(captions, (QStringList{"&Join the Zizure mailing list", "&Zizure", "Clos&e", "&System Info",
                                        "Veroridovuz", versionText(kVersionMajor, kVersionMinor, kVersionRevision)}));
        QCOMPARE(versionText(2, 10, 3), QStringLiteral("Version 2.10.3"));
        for (const char *name : {"lblTitle", "lblVersion"})
            QVERIFY(control(a, name)->palette().color(QPalette::WindowText) == Qt::blue && control(a, name)->font().bold());
    }

    // Loaded hidden, as the show loads it, then shown: the stored choices, the
    // starting state, and a scroll range that stays as set at load.
    void loads()
    {
        const QStringList pictures{"/p/a.jpg", "/pictures/a name longer than the list box is wide.jpg", "/p/a.jpg"};
        const QStringList tie{"WWWWWWWWWW", "iiiiiiiiiii", "WWWWWWWWWWW"};
        const std::tuple<QByteArray, const char *, Qt::CheckState, QStringList> cases[] = {
            {{}, "", Qt::Unchecked, {}},
            {" 10 \r\n 3 \r\n" + pictures.join("\r\n").toUtf8() + "\r\nextra\r\n", "1", Qt::Checked, pictures},
            {"5\n 3 \n" + tie.join('\n').toUtf8(), "2", Qt::PartiallyChecked, tie}};
        for (const auto &[bytes, stored, state, list] : cases) {
            init();
            if (!bytes.isEmpty())
                program->writeProgramFile(kPictureListFile, bytes);
            (void)(*program)->store().save(kAppTitle, QStringLiteral("Presets"), kRandomP, QString::fromLatin1(stored));
            frmSettings &d = (*program)->form<frmSettings>();
            QVERIFY(!d.isVisible());
            QCOMPARE(d.Text1()->text(), QString::fromLatin1(bytes.left(bytes.indexOf('\n'))).remove(u'\r'));
            QCOMPARE(d.List1()->entries(), list);
            QCOMPARE(d.chkRandomP()->checkState(), state);
            QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());
            for (const char *name : {"Command2", "Command6", "Command7"})
                QVERIFY2(!button(d, name)->isEnabled(), name);
            QCOMPARE(control<QLabel>(d, "Label6")->text(), QStringLiteral("Select pictures for the Screen Saver"));
            shown<frmSettings>();
            QTRY_COMPARE(QApplication::focusWidget(), control(d, "Drive1"));
            clickRow(*control<FileBox>(d, "File1"), 0);
            button(d, "Command1")->click();
            clickRow(*control<FileBox>(d, "File1"), 1, {}, true);
            QCOMPARE(d.List1()->count(), list.size() + 2);
            checkExtent(*d.List1(), list);
            program->writeProgramFile(kMusicListFile, bytes.mid(bytes.indexOf('\n') + 1));
            checkExtent(*shown<frmMusic>().List1(), list);
            QVERIFY(boxes->texts().isEmpty());
            cleanup();
        }
    }

    // The show options are stored by the picture dialog's OK, as they were set
    // in their dialog's OK, and dropped by its Cancel; options never set are
    // not stored at all.
    void showOptions()
    {
        const auto saveWith = [this](bool take, bool cancelSettings) {
            init();
            frmSettings &d = (*program)->form<frmSettings>();
            QTimer::singleShot(0, [take] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->findChildren<QCheckBox *>().at(1)->setChecked(true); // each song once per round
                take ? dialog->accept() : dialog->reject();
            });
            button(d, "cmdOptions")->click();
            button(d, cancelSettings ? "Command4" : "Command3")->click();
            const QString stored = (*program)->store().get(kAppTitle, kPresets, kShuffleM, QStringLiteral("absent"));
            cleanup();
            return stored;
        };
        QCOMPARE(saveWith(true, false), QStringLiteral("1"));
        QCOMPARE(saveWith(false, false), QStringLiteral("absent"));
        QCOMPARE(saveWith(true, true), QStringLiteral("absent"));
    }

    // Remove (the selected entries; a single selected one stands for the
    // current one), a double-click (the current one), Up and Down (the current
    // entry, which stays current and selected); -1: no current entry. The add
    // button, and a double-click on the file with the focus mark, as far as
    // the list has room.
    void editing()
    {
        struct Row { const char *op, *entries; QList<int> selected; int current; const char *after; int currentAfter;
                     QList<int> selectedAfter; };
        const Row rows[] = {
            {"remove", "abc", {}, 1, "abc", 1, {}}, {"remove", "abc", {0}, 2, "ab", -1, {0}},
            {"remove", "abc", {0}, -1, "abc", -1, {0}}, {"remove", "abcde", {0, 2, 4}, 1, "bd", 0, {}},
            {"remove", "abcde", {0, 1, 3}, 1, "ce", -1, {}}, {"remove", "a", {}, 0, "a", 0, {}},
            {"remove", "abc", {0, 1, 2}, 1, "", -1, {}}, {"double-click", "abc", {0, 2}, 1, "ac", -1, {0, 1}},
            {"double-click", "abc", {0}, -1, "abc", -1, {0}}, {"up", "abcd", {1}, 1, "bacd", 0, {0}},
            {"up", "abcd", {0, 3}, 2, "acbd", 1, {0, 1, 3}}, {"up", "abcd", {0}, 0, "abcd", 0, {0}},
            {"up", "abcd", {2}, -1, "abcd", -1, {2}}, {"down", "abcd", {2}, 2, "abdc", 3, {3}},
            {"down", "abcd", {}, 0, "bacd", 1, {1}}, {"down", "abcd", {3}, 3, "abcd", 3, {3}},
            {"down", "abcd", {}, -1, "abcd", -1, {}}};
        for (const Row &r : rows) {
            ListBox list;
            prepare(list, QString::fromLatin1(r.entries).split(QString(), Qt::SkipEmptyParts), r.selected, r.current);
            const QByteArray op(r.op);
            if (op == "remove")
                removeSelectedEntries(list);
            else if (op == "double-click")
                removeCurrentEntry(list);
            else
                op == "up" ? cmdMoveUp_Click(list) : cmdMoveDown_Click(list);
            const QString row = op + ' ' + r.entries + ' ' + QString::number(r.current) + ": ";
            QCOMPARE(row + list.entries().join(QString()), row + QString::fromLatin1(r.after));
            QCOMPARE(list.currentRow(), r.currentAfter);
            QCOMPARE(selectedRows(list), r.selectedAfter);
        }
        // Files a..e; -1: the add button; "full": nothing appended, the selection kept.
        struct Add { int files; QList<int> selected; int current, room; const char *added; };
        const Add adds[] = {{0, {}, -1, 9, ""}, {1, {}, -1, 9, "a"}, {2, {}, -1, 9, ""}, {5, {3, 0, 2}, -1, 3, "acd"},
                            {5, {3, 0, 2}, -1, 2, "full"}, {5, {0}, 1, 1, "b"}, {5, {0}, 1, 0, "full"}};
        for (Add r : adds) {
            QTemporaryDir dir;
            for (int i = 0; i < r.files; ++i)
                QFile(dir.filePath(QChar(u'a' + i) + QStringLiteral(".jpg"))).open(QIODevice::WriteOnly);
            FileBox box;
            box.setPattern(QStringLiteral("*.jpg"));
            box.setPath(dir.path());
            prepare(box, {}, r.selected, r.current);
            ListBox list;
            const bool fitted = (r.current < 0 ? appendChosenFiles(box, list, r.room)
                                               : appendCurrentFile(box, list, r.room)).fitted;
            const QString added = QString::fromLatin1(r.added);
            QStringList expected;
            for (QChar c : added == u"full" ? QString() : added)
                expected << dir.filePath(c + QStringLiteral(".jpg"));
            QCOMPARE(fitted, added != u"full");
            QCOMPARE(list.entries(), expected);
            std::sort(r.selected.begin(), r.selected.end());
            QCOMPARE(selectedRows(box), fitted && r.current < 0 ? QList<int>() : r.selected);
        }
    }

    // The browsers list what their patterns take; a drive or folder that cannot
    // be read gives a message each, and the dialog works on.
    void browsing()
    {
        QCOMPARE(control<FileBox>(shown<frmMusic>(), "File1")->entries(),
                 (QStringList{"c.wav", "e.Mp3", "y.aac", "y.flac", "y.M4A", "y.oga", "y.ogg", "y.opus"}));
        frmSettings &d = shown<frmSettings>();
        auto *fileBox = control<FileBox>(d, "File1");
        QCOMPARE(fileBox->entries(), (QStringList{"a_red.bmp", "b_blue.JPG", "d_text.jpg", "f.png", "x.avif", "x.heic",
                                              "x.heif", "x.tif", "x.TIFF", "x.webp"}));
        auto *folders = control<FolderBox>(d, "Dir1");
        for (const char *sub : {"top/Beta", "top/alpha", "top/.hidden"})
            QVERIFY(QDir(files->path()).mkpath(QString::fromLatin1(sub)));
        QVERIFY(folders->setPath(file("top")) && !folders->setPath(file("a_red.bmp")));
        const QStringList parts = file("top").split(u'/', Qt::SkipEmptyParts);
        QStringList shownFolders;
        for (int i = 0; i < folders->count(); ++i)
            shownFolders << folders->item(i)->text();
        QCOMPARE(shownFolders, (QStringList{"/"} + parts + QStringList{"alpha", "Beta"}));
        clickRow(*folders, int(parts.size()) + 1, {}, true);
        QCOMPARE(fileBox->path(), file("top/alpha"));

        auto *drives = control<DriveBox>(d, "Drive1");
        drives->addDrive(QStringLiteral("/nonexistent-drive"));
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(drives->drive(), QStringLiteral("/"));
        QCOMPARE(fileBox->path(), QStringLiteral("/"));
        const QString gone = file("gone");
        for (const bool fromFolderBox : {true, false}) {
            QVERIFY(QDir().mkdir(gone) && folders->setPath(fromFolderBox ? files->path() : gone) && QDir().rmdir(gone));
            if (fromFolderBox)
                clickRow(*folders, folders->row(folders->findItems(QStringLiteral("gone"), Qt::MatchExactly)[0]), {}, true);
            else
                QVERIFY(QMetaObject::invokeMethod(&d, "Dir1_Change"));
        }
        QCOMPARE(boxes->texts().size(), 3);
        QCOMPARE(boxes->texts()[0], QStringLiteral("The selected drive is not ready or\r\nnot responding properly"));
        QVERIFY(boxes->texts()[1].contains(gone) && boxes->texts()[2].contains(gone));
        QVERIFY(folders->setPath(files->path()));
        clickRow(*fileBox, 0, {}, true);
        QCOMPARE(d.List1()->entries(), QStringList{file("a_red.bmp")});
        QCOMPARE(fullPath(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));
    }

    // A click previews the file or entry and names it; Up and Down name the
    // moved entry; a double-click on an entry hides the preview. The interval
    // box refuses letters.
    void previewAndNames()
    {
        const QString missing = file("gone.jpg"), red = file("a_red.bmp"), blue = file("b_blue.JPG");
        program->writeProgramFile(kPictureListFile, QStringLiteral(" 3 \r\n 3 \r\n%1\r\n%2\r\n%3\r\n")
                                                        .arg(red, missing, blue).toUtf8());
        frmSettings &d = shown<frmSettings>();
        ListBox *list = d.List1();
        auto *fileBox = control<FileBox>(d, "File1");
        QWidget *preview = control(d, "Picture1");
        auto *label = control<QLabel>(d, "Label6");
        // Not a picture: the message, the name shown, the last picture kept.
        clickRow(*fileBox, 0);
        clickRow(*fileBox, 2);
        QCOMPARE(boxes->texts(), QStringList{"Invalid picture format,can not be inserted in the screen saver"});
        QCOMPARE(boxes->icons(), QList<QMessageBox::Icon>{QMessageBox::Critical});
        QCOMPARE(label->text(), QStringLiteral("d_text.jpg"));
        QVERIFY(showsOnly(preview, Qt::red));
        // Preview off: the name follows, nothing is loaded.
        control<QCheckBox>(d, "Check1")->setChecked(false);
        clickRow(*list, 1);
        QCOMPARE(label->text(), missing);
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        control<QCheckBox>(d, "Check1")->setChecked(true);
        // Up and Down name the moved entry, whatever was named before.
        clickRow(*fileBox, 1);
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{missing, red, blue}));
        QCOMPARE(label->text(), missing);
        clickRow(*list, 1);
        clickRow(*fileBox, 0);
        button(d, "Command7")->click();
        QCOMPARE(list->entries(), (QStringList{missing, blue, red}));
        QCOMPARE(label->text(), red);
        // Arrow keys move the focus mark as a click does.
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(label->text(), blue);
        QVERIFY(showsOnly(preview, Qt::blue));
        clickRow(*list, 2, {}, true);
        QCOMPARE(list->entries(), (QStringList{missing, blue}));
        QVERIFY(preview->isHidden());
        // No current entry: Up changes nothing and clears the name.
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{missing, blue}));
        QCOMPARE(label->text(), QString());
        clickRow(*fileBox, 1);
        QVERIFY(preview->isVisible() && boxes->texts().size() == 1);

        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.Text1()->setFocus();
        QTest::keyClicks(d.Text1(), QStringLiteral("1x"));
        list->setFocus();
        QTRY_COMPARE(boxes->texts().value(1), QStringLiteral("Enter valid number as the interval"));
        QTRY_VERIFY(d.Text1()->hasFocus() && d.Text1()->text().isEmpty());

        // Past 32767 entries the count line could not hold the list.
        QStringList many;
        for (int i = list->count(); i < kMaxListEntries; ++i)
            many << QStringLiteral("/p/%1.jpg").arg(i);
        list->addItems(many);
        clickRow(*fileBox, 0, {}, true);
        QCOMPARE(list->count(), kMaxListEntries);
        QVERIFY(boxes->texts().last().contains(QStringLiteral("32767")));
    }

    // The music dialog's twins: a click on an entry names it but previews
    // nothing, Up and Down leave the name alone, a double-click only removes.
    void musicDialogLeavesTheNameToClicks()
    {
        program->writeProgramFile(kMusicListFile, " 4 \r\n/m/0.mp3\r\n/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n");
        frmMusic &d = shown<frmMusic>();
        ListBox *list = d.List1();
        auto *label = control<QLabel>(d, "Label3");
        QCOMPARE(label->text(), QStringLiteral("Select MP3 or Wav"));
        clickRow(*list, 1);
        QCOMPARE(label->text(), QStringLiteral("/m/1.mp3"));
        for (const char *name : {"Command2", "Command5", "Command6"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        clickRow(*control<FileBox>(d, "File1"), 0);
        button(d, "Command5")->click();
        QCOMPARE(list->entries(), (QStringList{"/m/1.mp3", "/m/0.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QVERIFY(list->item(0)->isSelected());
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{"/m/0.mp3", "/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QCOMPARE(label->text(), QStringLiteral("c.wav"));
        clickRow(*list, 0, {}, true);
        QCOMPARE(list->entries(), (QStringList{"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}));
        QCOMPARE(label->text(), QStringLiteral("/m/0.mp3"));
        QVERIFY(boxes->texts().isEmpty());
    }

    // One About at a time; Esc leaves it open; Clos&e unloads it alone. The
    // program ends when its last window goes, not with the picture dialog.
    void aboutAndTheLastWindow()
    {
        frmSettings &d = shown<frmSettings>();
        button(d, "cmdAbout")->click();
        frmAbout *about = (*program)->loadedForm<frmAbout>();
        QTest::keyClick(about, Qt::Key_Escape);
        button(d, "cmdAbout")->click();
        QVERIFY((*program)->loadedForm<frmAbout>() == about && about->isVisible());
        button(*about, "Command3")->click();
        QVERIFY(!(*program)->loadedForm<frmAbout>() && d.isVisible());
        button(d, "cmdAbout")->click();
        button(d, "Command4")->click();
        QVERIFY(!(*program)->hasEnded());
        (*program)->loadedForm<frmAbout>()->close();
        QVERIFY((*program)->hasEnded());
    }

    // Whole seconds, half to even, past 32 s too; anything else leaves the
    // picture timer off and the backdrop up.
    void showInterval()
    {
        const std::pair<const char *, int> rows[] = {{"5", 5000}, {"2.5", 2000}, {"1.5", 2000}, {" 10 ", 10000},
                                                     {"33", 33000}, {"0", 0}, {"-2", 0}, {"", 0}, {"abc", 0}};
        for (auto [text, ms] : rows) {
            TestProgram p;
            frmmain &show = loadShow(p, {}, text, 1);
            QCOMPARE(show.timer1().isActive() ? show.timer1().interval() : 0, ms);
            QVERIFY(!show.image2().isHidden());
        }
    }

    // A grayed random box plays in order; random order rounds the draw half
    // to even and wraps n to 0; the clock-seeded draw reaches every entry. A
    // picture larger than the screen is centred, only its visible part held.
    // The exit (on input or on the host's signal) brings the cursor back.
    void showPicks()
    {
        frmmain &grayed = loadShow(*program, "2", "1", 2);
        grayed.setDraw([] { return 0.9; }); // random order would show 0, 0, 0
        QCOMPARE(tick(grayed, 3), (QList<int>{0, 1, 0}));
        QVERIFY(grayed.image2().isHidden());
        {
            TestProgram p;
            frmmain &show = loadShow(p, "1", "1", 4);
            QList<double> draws{3.7 / 4, 2.5 / 4, 1.2 / 4, 0.9 / 4};
            // The picture after the last tick is drawn too, when it is prepared.
            show.setDraw([&] { return draws.isEmpty() ? 0.0 : draws.takeFirst(); });
            QCOMPARE(tick(show, 4), (QList<int>{0, 2, 1, 1}));
            TestProgram q;
            const QList<int> shownPictures = tick(loadShow(q, "1", "1", 3), 60);
            QVERIFY(shownPictures.contains(0) && shownPictures.contains(1) && shownPictures.contains(2));
            TestProgram big;
            frmmain &large = loadShow(big, {}, "1", 1, {2000, 1500});
            large.resize(1024, 768);
            tick(large, 1);
            QCOMPARE(large.image1().geometry(), QRect(-488, -366, 2000, 1500));
            QCOMPARE(large.image1().picture().image.size(), QSize(1024, 768));
        }
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        Terminate(**program); // as on SIGTERM: the show's own exit
        QVERIFY(!QGuiApplication::overrideCursor() && (*program)->hasEnded());
    }

    // "Each picture once per round": every picture once in each round, none
    // twice in a row across rounds. "Continue where the last show stopped":
    // the next show takes up the order, and the shuffled round, where the last
    // one left it; after the list is edited it starts at the first again.
    void showShufflesAndResumes()
    {
        const auto option = [](TestProgram &p, const QString &key) {
            QVERIFY(p->store().save(kAppTitle, kPresets, key, QStringLiteral("1")));
        };
        option(*program, kShuffleP);
        const QList<int> shown = tick(loadShow(*program, "1", "1", 3), 30);
        for (int round = 0; round < 10; ++round) {
            QList<int> one = shown.mid(round * 3, 3);
            std::sort(one.begin(), one.end());
            QCOMPARE(one, (QList<int>{0, 1, 2}));
        }
        for (int i = 1; i < shown.size(); ++i)
            QVERIFY(shown[i] != shown[i - 1]);

        // Open while the forms are unloaded and loaded again, as the dialogs would be.
        QWidget keepsTheProgramOpen;
        keepsTheProgramOpen.show();
        for (const bool shuffled : {false, true}) {
            TestProgram p;
            option(p, kResumeP);
            if (shuffled)
                option(p, kShuffleP);
            const auto again = [&p] {
                p->unload(p->loadedForm<frmmain>());
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                frmmain &show = p->form<frmmain>();
                show.finishLoad();
                return tick(show, 1).first();
            };
            const QList<int> first = tick(loadShow(p, shuffled ? "1" : "0", "1", 3), 2);
            QCOMPARE(first.size(), 2);
            QVERIFY(first[0] != first[1] && !first.contains(again()));
            if (shuffled)
                continue;
            // The list as it now is: 1.bmp, 0.bmp; its first is 11 pixels wide.
            p->unload(p->loadedForm<frmSettings>());
            const QDir folder(p.folder());
            p.writeProgramFile(kPictureListFile, "1\r\n 2 \r\n" + folder.filePath(QStringLiteral("1.bmp")).toUtf8() + "\r\n"
                                                     + folder.filePath(QStringLiteral("0.bmp")).toUtf8() + "\r\n");
            QCOMPARE(again(), 1);
        }
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
        loadShow(p, {}, "1", 0).timer1().setInterval(1);
        QTRY_VERIFY(!p->loadedForm<frmmain>());
        QCOMPARE(int(p->cursor().showCursor(false)), -1);
    }

    // An empty entry shows nothing, silently; a missing picture ends the
    // program; an empty list gives way to the settings dialog, and the hidden
    // music dialog does not hold the program open.
    void showFailingTicks()
    {
        const std::tuple<int, const char *, QMessageBox::Icon> cases[] = {
            {1, "", QMessageBox::NoIcon}, {1, "File not found.Quitting", QMessageBox::NoIcon},
            {0, "Please select few image files", QMessageBox::Information}};
        for (const auto &[count, text, icon] : cases) {
            init();
            frmmain &show = loadShow(*program, {}, "1", count);
            QFile::remove(QDir(program->folder()).filePath(QStringLiteral("0.bmp")));
            if (!*text)
                (*program)->form<frmSettings>().List1()->item(0)->setText(QString());
            show.show();
            show.timer1().setInterval(1);
            if (!*text) {
                tick(show, 2);
                QVERIFY(boxes->texts().isEmpty() && !(*program)->hasEnded() && show.image1().picture().image.isNull());
            } else {
                QTRY_VERIFY(!(*program)->loadedForm<frmmain>());
                QCOMPARE(boxes->texts(), QStringList{text});
                QCOMPARE(boxes->titles(), QStringList{"Veroridovuz"});
                QCOMPARE(boxes->icons(), QList<QMessageBox::Icon>{icon});
                QCOMPARE((*program)->hasEnded(), count > 0);
            }
            if (count == 0) {
                QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
                QVERIFY((*program)->loadedForm<frmSettings>()->isVisible());
                (*program)->unload((*program)->loadedForm<frmSettings>());
                QVERIFY((*program)->hasEnded());
            }
            cleanup();
        }
    }
};

QTEST_MAIN(tst_forms)
#include "tst_forms.moc"
