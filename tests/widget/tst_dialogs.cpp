// The three dialogs in-process: their design (captions, access keys, focus
// order), the picture dialog's load (also hidden, as the show's data holder)
// and scroll range, the list editing both dialogs share, browsing, preview and
// status names, and which window keeps the program running.

#include <QCheckBox>
#include <QDir>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

#include "controls/DriveBox.h"
#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ImageView.h"
#include "controls/ListBox.h"
#include "controls/ListEditing.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "runtime/Version.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
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
    for (QWidget *w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain()) {
        if (!designed.match(w->objectName()).hasMatch() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        const auto *button = qobject_cast<QAbstractButton *>(w);
        chain << w->objectName() + (button ? u':' + button->text() : QString());
    }
    return chain.join(u' ');
}

// Every sampled pixel of the preview is close to the colour.
bool showsOnly(QWidget *view, QColor colour)
{
    const QImage shot = view->grab().toImage();
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4) {
            const QColor c = shot.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) + qAbs(c.blue() - colour.blue()) > 36)
                return false;
        }
    return shot.size() == QSize(129, 81);
}

void touch(const QString &path, const QByteArray &bytes = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A list of entries and selected rows whose focus mark (-1: none) is set
// without touching the selection.
void prepare(QListWidget &list, const QStringList &entries, const QList<int> &selected, int current)
{
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.addItems(entries);
    for (int r : selected)
        list.item(r)->setSelected(true);
    list.selectionModel()->setCurrentIndex(current < 0 ? QModelIndex() : list.model()->index(current, 0),
                                           QItemSelectionModel::NoUpdate);
}

QStringList texts(const QListWidget &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

QList<int> selectedRows(const QListWidget &list)
{
    QList<int> rows;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->isSelected())
            rows << i;
    return rows;
}

} // namespace

class tst_dialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<MessageBoxCatcher> boxes;
    std::unique_ptr<QTemporaryDir> files;

    QString file(const QString &name) const { return files->filePath(name); }
    template <class F> F &shown(const QString &folder = {})
    {
        F &d = (*program)->form<F>();
        d.show();
        if (!QTest::qWaitForWindowActive(&d))
            qWarning("dialog not active");
        if (!folder.isEmpty())
            control<FolderBox>(d, "Dir1")->setPath(folder);
        return d;
    }
    QPushButton *button(QWidget &form, const char *name) { return control<QPushButton>(form, name); }

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
        touch(file("d_text.jpg"), "this is not a picture\n");
        for (const char *name : {"c.wav", "e.Mp3", ".hidden.jpg", "f.png"})
            touch(file(QString::fromLatin1(name)));
        QDir(files->path()).mkdir(QStringLiteral("g.jpg"));
    }
    void cleanup()
    {
        // Ending the program asked the event loop to quit; a loop run now takes
        // that request, so later message boxes do not return at once.
        if ((*program)->hasEnded()) {
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
        }
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
        button(s, "Command2")->setEnabled(true);
        button(s, "Command6")->setEnabled(true);
        button(s, "Command7")->setEnabled(true);
        QCOMPARE(focusChain(s), QStringLiteral("Drive1 Dir1 File1 List1 Command1:&>> Command6:&Up Command7:&Down "
                                               "Command2:&Remove Command3:&OK Command4:&Cancel chkRandomP:Random "
                                               "Check1:Show &Preview Command5:&Add Music Text1 cmdAbout:A&bout"));
        for (const char *name : {"Command2", "Command5", "Command6"})
            button(m, name)->setEnabled(true);
        QCOMPARE(focusChain(m), QStringLiteral("Drive1 Dir1 File1 List1 Command1:&>> Command5:&Up Command6:&Down "
                                               "Command2:&Remove chkRandomM:Play &Random Command3:&OK Command4:&Cancel"));
        QStringList captions;
        for (const char *name : {"Command1", "Command2", "Command3", "Command4"})
            captions << button(a, name)->text();
        QCOMPARE(captions, (QStringList{"&Join the Zizure mailing list", "&Zizure", "Clos&e", "&System Info"}));
        QCOMPARE(control<QLabel>(a, "lblTitle")->text(), QStringLiteral("Veroridovuz"));
        QCOMPARE(control<QLabel>(a, "lblVersion")->text(), QStringLiteral("Version %1.%2.%3")
                 .arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
        QCOMPARE(versionText(2, 10, 3), QStringLiteral("Version 2.10.3"));
        for (const char *name : {"lblTitle", "lblVersion"}) {
            QCOMPARE(control(a, name)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(control(a, name)->font().bold());
        }
    }

    // Loaded hidden, as the show loads it: damaged settings load what they can,
    // silently. The scroll range fits the longest entry by character count (the
    // earlier on a tie) in the dialog's type, and stays as set at load.
    void loadsStoredChoices_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: none
        QTest::addColumn<QString>("randomP");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<Qt::CheckState>("state");
        const QStringList three{"/p/a.jpg", "/pictures/a name longer than the list box is wide.jpg", "/p/a.jpg"};
        QTest::newRow("first start") << QByteArray() << "" << QStringList{} << Qt::Unchecked;
        QTest::newRow("good") << " 10 \r\n 3 \r\n" + three.join("\r\n").toUtf8() + "\r\nextra\r\n" << "1" << three
                              << Qt::Checked;
        QTest::newRow("truncated, grayed") << QByteArray("5\n 3 \n/p/a.jpg\n/p/b") << "2"
                                           << QStringList{"/p/a.jpg", "/p/b"} << Qt::PartiallyChecked;
        QTest::newRow("letters") << QByteArray("abc\r\nxyz\r\n/p/a.jpg\r\n") << "yes" << QStringList{} << Qt::Unchecked;
        QTest::newRow("more characters beat wider glyphs")
            << QByteArray("1\r\n 3 \r\nWWWWWWWWWW\r\niiiiiiiiiii\r\nWWWWWWWWWWW\r\n") << "0"
            << QStringList{"WWWWWWWWWW", "iiiiiiiiiii", "WWWWWWWWWWW"} << Qt::Unchecked;
    }
    void loadsStoredChoices()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, randomP);
        QFETCH(QStringList, list);
        QFETCH(Qt::CheckState, state);
        if (!file.isNull())
            program->writeProgramFile(kPictureListFile, file);
        if (!randomP.isEmpty())
            (void)(*program)->store().save(kAppTitle, QStringLiteral("Presets"), kRandomP, randomP);
        frmSettings &d = (*program)->form<frmSettings>();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.Text1()->text(), file.isNull() ? QString() : QString::fromUtf8(file.left(file.indexOf('\n'))).remove(u'\r'));
        QCOMPARE(d.List1()->entries(), list);
        QCOMPARE(d.chkRandomP()->checkState(), state);
        QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(!button(d, name)->isEnabled(), name);
        QCOMPARE(control<QLabel>(d, "Label6")->text(), QStringLiteral("Select pictures for the Screen Saver"));
        QString longest;
        for (const QString &entry : list)
            longest = entry.size() > longest.size() ? entry : longest;
        const qreal measured = QFontMetricsF(d.font()).horizontalAdvance(longest + u' ');
        const int extent = d.List1()->horizontalExtent();
        QVERIFY2(extent <= measured + 0.04 && extent > measured - 1, qPrintable(QString::number(extent)));

        shown<frmSettings>(files->path());
        QTRY_COMPARE(QApplication::focusWidget(), control(d, "Drive1"));
        clickRow(*control<FileBox>(d, "File1"), 0);
        button(d, "Command1")->click();
        clickRow(*control<FileBox>(d, "File1"), 1, {}, true);
        QCOMPARE(d.List1()->count(), list.size() + 2);
        QCOMPARE(d.List1()->horizontalExtent(), extent);
        const QScrollBar *bar = d.List1()->horizontalScrollBar();
        const int page = d.List1()->viewport()->width();
        QTRY_COMPARE(bar->isVisible(), extent > page);
        QCOMPARE(bar->maximum() + bar->pageStep(), std::max(extent, page));
        QVERIFY(boxes->texts().isEmpty());
    }

    // Remove (the selected entries; a single selected one stands for the
    // current one), a double-click (the current one), Up and Down (the current
    // entry, which stays current and selected). -1: no current entry.
    void editing_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("currentAfter");
        QTest::addColumn<QList<int>>("selectedAfter");
        auto row = [](const char *op, const char *entries, const QList<int> &selected, int current,
                      const char *after, int currentAfter, const QList<int> &selectedAfter) {
            QTest::addRow("%s %s %d", op, entries, current) << QString::fromLatin1(op) << QString::fromLatin1(entries)
                << selected << current << QString::fromLatin1(after) << currentAfter << selectedAfter;
        };
        row("remove", "abc", {}, 1, "abc", 1, {});
        row("remove", "abc", {0}, 2, "ab", -1, {0});
        row("remove", "abc", {0}, -1, "abc", -1, {0});
        row("remove", "abcde", {0, 2, 4}, 1, "bd", 0, {});
        row("remove", "abcde", {0, 1, 3}, 1, "ce", -1, {});
        row("remove", "a", {}, 0, "a", 0, {});
        row("remove", "abc", {0, 1, 2}, 1, "", -1, {});
        row("double-click", "abc", {0, 2}, 1, "ac", -1, {0, 1});
        row("double-click", "abc", {0}, -1, "abc", -1, {0});
        row("up", "abcd", {1}, 1, "bacd", 0, {0});
        row("up", "abcd", {0, 3}, 2, "acbd", 1, {0, 1, 3});
        row("up", "abcd", {0}, 0, "abcd", 0, {0});
        row("up", "abcd", {2}, -1, "abcd", -1, {2});
        row("down", "abcd", {2}, 2, "abdc", 3, {3});
        row("down", "abcd", {}, 0, "bacd", 1, {1});
        row("down", "abcd", {3}, 3, "abcd", 3, {3});
        row("down", "abcd", {}, -1, "abcd", -1, {});
    }
    void editing()
    {
        QFETCH(QString, op);
        QFETCH(QString, entries);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QString, after);
        QFETCH(int, currentAfter);
        QFETCH(QList<int>, selectedAfter);
        ListBox list;
        prepare(list, entries.split(QString(), Qt::SkipEmptyParts), selected, current);
        if (op == u"remove")
            removeSelectedEntries(list);
        else if (op == u"double-click")
            removeCurrentEntry(list);
        else
            op == u"up" ? cmdMoveUp_Click(list) : cmdMoveDown_Click(list);
        QCOMPARE(list.entries().join(QString()), after);
        QCOMPARE(list.currentRow(), currentAfter);
        QCOMPARE(selectedRows(list), selectedAfter);
    }

    // The add button and a double-click (current >= 0) on the file with the focus mark.
    void adding_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("room"); // entries the list can still take
        QTest::addColumn<QString>("added");
        QTest::newRow("no file") << 0 << QList<int>{} << -1 << 9 << "";
        QTest::newRow("one file, not selected") << 1 << QList<int>{} << -1 << 9 << "a";
        QTest::newRow("two files, none selected") << 2 << QList<int>{} << -1 << 9 << "";
        QTest::newRow("file order, not click order") << 5 << QList<int>{3, 0, 2} << -1 << 3 << "acd";
        QTest::newRow("more than the list takes") << 5 << QList<int>{3, 0, 2} << -1 << 2 << "full";
        QTest::newRow("double-click") << 5 << QList<int>{0} << 1 << 1 << "b";
        QTest::newRow("double-click on a full list") << 5 << QList<int>{0} << 1 << 0 << "full";
    }
    void adding()
    {
        QFETCH(int, files);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(int, room);
        QFETCH(QString, added);
        QTemporaryDir dir;
        for (int i = 0; i < files; ++i)
            touch(dir.filePath(QChar(u'a' + i) + QStringLiteral(".jpg")));
        FileBox box;
        box.setPattern(QStringLiteral("*.jpg"));
        box.setPath(dir.path());
        prepare(box, {}, selected, current);
        ListBox list;
        list.addItem(QStringLiteral("/kept.jpg"));
        const bool fitted = (current < 0 ? appendChosenFiles(box, list, room + 1)
                                         : appendCurrentFile(box, list, room + 1)).fitted;
        QCOMPARE(fitted, added != u"full");
        QStringList expected{"/kept.jpg"};
        for (QChar c : added == u"full" ? QString() : added)
            expected << dir.filePath(c + QStringLiteral(".jpg"));
        QCOMPARE(list.entries(), expected);
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selectedRows(box), fitted && current < 0 ? QList<int>() : selected);
    }

    // The browsers list what their patterns take; a drive or folder that cannot
    // be read gives a message each, and the dialog works on.
    void browsing()
    {
        frmMusic &m = shown<frmMusic>(files->path());
        QCOMPARE(control<FileBox>(m, "File1")->entries(), (QStringList{"c.wav", "e.Mp3"}));
        frmSettings &d = shown<frmSettings>(files->path());
        QCOMPARE(control<FileBox>(d, "File1")->entries(), (QStringList{"a_red.bmp", "b_blue.JPG", "d_text.jpg"}));
        auto *folders = control<FolderBox>(d, "Dir1");
        QVERIFY(QDir(files->path()).mkpath(QStringLiteral("top/Beta")));
        QVERIFY(QDir(files->path()).mkpath(QStringLiteral("top/alpha")));
        QVERIFY(QDir(files->path()).mkpath(QStringLiteral("top/.hidden")));
        QVERIFY(folders->setPath(file("top")));
        const QStringList parts = file("top").split(u'/', Qt::SkipEmptyParts);
        QCOMPARE(texts(*folders), (QStringList{"/"} + parts + QStringList{"alpha", "Beta"}));
        clickRow(*folders, int(parts.size()) + 1, {}, true);
        QCOMPARE(control<FileBox>(d, "File1")->path(), file("top/alpha"));
        QVERIFY(!folders->setPath(file("a_red.bmp")));
        QCOMPARE(fullPath(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));

        auto *drives = control<DriveBox>(d, "Drive1");
        drives->addDrive(QStringLiteral("/nonexistent-drive"));
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(drives->drive(), QStringLiteral("/"));
        QCOMPARE(control<FileBox>(d, "File1")->path(), QStringLiteral("/"));
        const QString gone = file("gone");
        for (const bool fromFolderBox : {true, false}) {
            QVERIFY(QDir().mkdir(gone));
            QVERIFY(folders->setPath(fromFolderBox ? files->path() : gone));
            QVERIFY(QDir().rmdir(gone));
            if (fromFolderBox)
                clickRow(*folders, folders->row(folders->findItems(QStringLiteral("gone"), Qt::MatchExactly)[0]), {}, true);
            else
                QVERIFY(QMetaObject::invokeMethod(&d, "Dir1_Change"));
        }
        QCOMPARE(boxes->texts().size(), 3);
        QCOMPARE(boxes->texts()[0], QStringLiteral("The selected drive is not ready or\r\nnot responding properly"));
        QVERIFY(boxes->texts()[1].contains(gone) && boxes->texts()[2].contains(gone));
        QVERIFY(folders->setPath(files->path()));
        clickRow(*control<FileBox>(d, "File1"), 0, {}, true);
        QCOMPARE(d.List1()->entries(), QStringList{file("a_red.bmp")});
    }

    // A click previews the file or entry and names it; Up and Down name the
    // moved entry; a double-click on an entry hides the preview.
    void previewAndNames()
    {
        const QString missing = file("gone.jpg");
        program->writeProgramFile(kPictureListFile, QStringLiteral(" 3 \r\n 3 \r\n%1\r\n%2\r\n%3\r\n")
                                                        .arg(file("a_red.bmp"), missing, file("b_blue.JPG")).toUtf8());
        frmSettings &d = shown<frmSettings>(files->path());
        ListBox *list = d.List1();
        auto *fileBox = control<FileBox>(d, "File1");
        auto *preview = control<ImageView>(d, "Picture1");
        auto *label = control<QLabel>(d, "Label6");
        // Not a picture: the message, the name shown, the last picture kept.
        clickRow(*fileBox, 0);
        QVERIFY(showsOnly(preview, Qt::red));
        clickRow(*fileBox, 2);
        QCOMPARE(boxes->texts(), QStringList{"Invalid picture format,can not be inserted in the screen saver"});
        QCOMPARE(boxes->icons(), QList<QMessageBox::Icon>{QMessageBox::Critical});
        QCOMPARE(label->text(), QStringLiteral("d_text.jpg"));
        QVERIFY(showsOnly(preview, Qt::red));
        // Preview off: the name follows, nothing is loaded.
        control<QCheckBox>(d, "Check1")->setChecked(false);
        clickRow(*list, 1);
        QCOMPARE(label->text(), missing);
        QCOMPARE(boxes->texts().size(), 1);
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        control<QCheckBox>(d, "Check1")->setChecked(true);
        // Up and Down name the moved entry, whatever was named before.
        clickRow(*fileBox, 1);
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{missing, file("a_red.bmp"), file("b_blue.JPG")}));
        QCOMPARE(label->text(), missing);
        clickRow(*list, 1);
        clickRow(*fileBox, 0);
        button(d, "Command7")->click();
        QCOMPARE(list->entries(), (QStringList{missing, file("b_blue.JPG"), file("a_red.bmp")}));
        QCOMPARE(label->text(), file("a_red.bmp"));
        // Arrow keys move the focus mark as a click does.
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(label->text(), file("b_blue.JPG"));
        QVERIFY(showsOnly(preview, Qt::blue));
        clickRow(*list, 2, {}, true);
        QCOMPARE(list->entries(), (QStringList{missing, file("b_blue.JPG")}));
        QVERIFY(preview->isHidden());
        // No current entry: Up changes nothing and clears the name.
        button(d, "Command6")->click();
        QCOMPARE(list->entries(), (QStringList{missing, file("b_blue.JPG")}));
        QCOMPARE(label->text(), QString());
        clickRow(*fileBox, 1);
        QVERIFY(preview->isVisible());
        QCOMPARE(boxes->texts().size(), 1);

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
        frmMusic &d = shown<frmMusic>(files->path());
        ListBox *list = d.List1();
        auto *label = control<QLabel>(d, "Label3");
        QCOMPARE(label->text(), QStringLiteral("Select MP3 or Wav"));
        clickRow(*list, 1);
        QCOMPARE(label->text(), QStringLiteral("/m/1.mp3"));
        for (const char *name : {"Command2", "Command5", "Command6"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        clickRow(*control<FileBox>(d, "File1"), 0);
        QCOMPARE(label->text(), QStringLiteral("c.wav"));
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
        QVERIFY(about && about->isVisible());
        QTest::keyClick(about, Qt::Key_Escape);
        button(d, "cmdAbout")->click();
        QCOMPARE((*program)->loadedForm<frmAbout>(), about);
        QVERIFY(about->isVisible());
        button(*about, "Command3")->click();
        QVERIFY(!(*program)->loadedForm<frmAbout>() && d.isVisible());
        button(d, "cmdAbout")->click();
        button(d, "Command4")->click();
        QVERIFY(!(*program)->hasEnded());
        (*program)->loadedForm<frmAbout>()->close();
        QVERIFY((*program)->hasEnded());
    }
};

QTEST_MAIN(tst_dialogs)
#include "tst_dialogs.moc"
