// The picture dialog in-process: its design, its load (also hidden, as the
// show's data holder), the interval check, list editing and preview through its
// controls, and what OK, Cancel, the close box, Add Music and About do.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "controls/DriveBox.h"
#include "controls/FileBox.h"
#include "controls/ListEditing.h"
#include "controls/FolderBox.h"
#include "controls/ImageView.h"
#include "controls/ListBox.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/SettingsStore.h"
#include "settings/ListFile.h"
#include "settings/PictureSettings.h"
#include "support/MessageBoxCatcher.h"
#include "support/Widgets.h"
#include "support/TestProgram.h"

using namespace vz;
using namespace vz::test;

namespace {

const QString kInvalidPicture = QStringLiteral("Invalid picture format,can not be inserted in the screen saver");
const QString kInvalidInterval = QStringLiteral("Enter valid number as the interval");


QStringList entries(const QListWidget &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

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
    QString stored() { return (*program)->store().get(QStringLiteral("Veroridovuz"), kPresets, kRandomP, QStringLiteral("absent")); }
    void browseTo(frmSettings &d, const QString &folder) { QVERIFY(control<FolderBox>(d, "Dir1")->setPath(folder)); }

private Q_SLOTS:
    void init()
    {
        program = std::make_unique<TestProgram>();
        boxes = std::make_unique<MessageBoxCatcher>();
        pictures = std::make_unique<QTemporaryDir>();
        saveImage(picture(QStringLiteral("a_red.bmp")), {64, 48}, Qt::red, "BMP");
        saveImage(picture(QStringLiteral("b_blue.jpg")), {20, 200}, Qt::blue, "JPEG");
        saveImage(picture(QStringLiteral("c_green.BMP")), {300, 10}, QColor(0, 255, 0), "BMP");
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

    void firstStart()
    {
        frmSettings &d = shown();
        QCOMPARE(d.windowTitle(), QStringLiteral("Veroridovuz - Select Graphics"));
        QCOMPARE(d.size(), QSize(545, 357));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const QPoint offCentre = d.geometry().center() - d.screen()->availableGeometry().center();
        QVERIFY(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1);

        QCOMPARE(d.Text1()->text(), QString());
        QCOMPARE(d.List1()->count(), 0);
        QCOMPARE(d.chkRandomP()->checkState(), Qt::Unchecked);
        QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(!button(d, name)->isEnabled(), name);
        QVERIFY(button(d, "Command1")->isEnabled());
        QCOMPARE(control<QLabel>(d, "Label6")->text(), QStringLiteral("Select pictures for the Screen Saver"));
        QCOMPARE(QApplication::focusWidget(), control(d, "Drive1"));
        QCOMPARE(control<FolderBox>(d, "Dir1")->path(), QDir::currentPath());
        QCOMPARE(control<FileBox>(d, "File1")->path(), QDir::currentPath());
    }

    void tabOrder()
    {
        frmSettings &d = dialog();
        const QStringList order{"Drive1", "Dir1", "File1", "List1", "Command1", "Command6", "Command7",
                                "Command2", "Command3", "Command4", "chkRandomP", "Check1", "Command5",
                                "Text1", "cmdAbout"};
        QStringList chain;
        QWidget *w = control(d, "Drive1");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != control(d, "Drive1"));
        QCOMPARE(chain, order);
    }

    void loadsStoredChoicesWithoutShowing()
    {
        writeList(" 10 \r\n 3 \r\n/p/a.jpg\r\n/pictures/a much longer name.jpg\r\n/p/a.jpg\r\nignored\r\n");
        QCOMPARE((*program)->store().save(QStringLiteral("Veroridovuz"), kPresets, kRandomP, QStringLiteral("1")), QString());
        frmSettings &d = dialog();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.Text1()->text(), QStringLiteral(" 10 "));
        QCOMPARE(entries(*d.List1()),
                 (QStringList{"/p/a.jpg", "/pictures/a much longer name.jpg", "/p/a.jpg"}));
        QCOMPARE(d.chkRandomP()->checkState(), Qt::Checked);
        QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());

        const qreal measured = QFontMetricsF(d.font()).horizontalAdvance(QStringLiteral("/pictures/a much longer name.jpg "));
        QVERIFY(d.List1()->horizontalExtent() <= measured + 0.04 && d.List1()->horizontalExtent() > measured - 1);
    }

    void longIntervalLineLoadsWhole()
    {
        const QByteArray line(1 << 20, '7');
        writeList(line + "\r\n 0 \r\n");
        QCOMPARE(dialog().Text1()->text().size(), line.size());
    }

    void scrollRangeIsSetOnceAtLoad()
    {
        writeList(" 5 \r\n 1 \r\n/pictures/holiday/2019/the beach at sunset.jpg\r\n");
        frmSettings &d = shown();
        const int extent = d.List1()->horizontalExtent();
        QScrollBar *bar = d.List1()->horizontalScrollBar();
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(bar->maximum() + bar->pageStep(), extent);

        browseTo(d, pictures->path());
        FileBox *files = control<FileBox>(d, "File1");
        clickRow(*files, 0);
        button(d, "Command1")->click();
        d.List1()->addItem(QString(300, u'W'));
        QTest::qWait(20);
        QCOMPARE(d.List1()->horizontalExtent(), extent);
        QCOMPARE(bar->maximum() + bar->pageStep(), extent);
    }

    void intervalCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("negative") << "-5" << true;
        QTest::newRow("fraction") << "2.5" << true;
        QTest::newRow("blanks around") << " 10 " << true;
        QTest::newRow("exponent") << "1e1" << true;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("number then letters") << "12s" << false;
        QTest::newRow("two numbers") << "1 2" << false;
    }
    void intervalCheck()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        frmSettings &d = shown();
        d.Text1()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), d.Text1());
        d.Text1()->setText(text);
        QTest::keyClick(d.Text1(), Qt::Key_Tab);
        if (accepted) {
            QVERIFY(boxes->boxes().empty());
            QCOMPARE(d.Text1()->text(), text);
            QCOMPARE(QApplication::focusWidget(), control(d, "cmdAbout"));
        } else {
            QCOMPARE(boxes->boxes().size(), size_t(1));
            QCOMPARE(boxes->boxes()[0].text, kInvalidInterval);
            QCOMPARE(boxes->boxes()[0].title, QStringLiteral("Veroridovuz"));
            QCOMPARE(boxes->boxes()[0].icon, QMessageBox::NoIcon);
            QCOMPARE(d.Text1()->text(), QString());
            QTRY_COMPARE(QApplication::focusWidget(), d.Text1());
        }
    }

    void leavingByClickOrAccessKeyDoesNotRunTheButton()
    {
        frmSettings &d = shown();
        for (int attempt = 0; attempt < 2; ++attempt) {
            d.Text1()->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), d.Text1());
            d.Text1()->setText(QStringLiteral("ten"));
            if (attempt == 0)
                QTest::mouseClick(button(d, "Command3"), Qt::LeftButton);
            else
                QTest::keyClick(d.Text1(), Qt::Key_O, Qt::AltModifier);
            QTest::qWait(200);
            QCOMPARE(boxes->boxes().size(), size_t(attempt + 1));
            QVERIFY(!(*program)->hasEnded());
            QVERIFY(program->readProgramFile(kPictureListFile).isEmpty());
            QCOMPARE(QApplication::focusWidget(), d.Text1());
            QVERIFY(button(d, "Command3")->isEnabled());
        }
        // With the box emptied, OK goes through.
        QTest::mouseClick(button(d, "Command3"), Qt::LeftButton);
        QVERIFY((*program)->hasEnded());
        QCOMPARE(program->readProgramFile(kPictureListFile), QByteArray(" 10 \r\n 0 \r\n"));
    }

    void unreadableDriveFallsBackToTheRoot()
    {
        frmSettings &d = shown();
        auto *drives = control<DriveBox>(d, "Drive1");
        drives->addDrive(QStringLiteral("/nonexistent-drive"));
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(boxes->boxes()[0].text, QStringLiteral("The selected drive is not ready or\r\nnot responding properly"));
        QCOMPARE(boxes->boxes()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(drives->drive(), QStringLiteral("/"));
        QCOMPARE(control<FolderBox>(d, "Dir1")->path(), QStringLiteral("/"));
        QCOMPARE(control<FileBox>(d, "File1")->path(), QStringLiteral("/"));
    }

    void browseAddAndPreview()
    {
        frmSettings &d = shown();
        browseTo(d, pictures->path());
        auto *files = control<FileBox>(d, "File1");
        QCOMPARE(entries(*files), (QStringList{"a_red.bmp", "b_blue.jpg", "c_green.BMP", "d_text.jpg"}));
        auto *preview = control<ImageView>(d, "Picture1");
        auto *label = control<QLabel>(d, "Label6");

        clickRow(*files, 0);
        QCOMPARE(label->text(), QStringLiteral("a_red.bmp"));
        QVERIFY(showsOnly(preview, Qt::red));
        clickRow(*files, 1, Qt::ControlModifier);
        QVERIFY(showsOnly(preview, Qt::blue)); // 20 x 200 stretched to the whole box
        clickRow(*files, 2, Qt::ControlModifier);
        QVERIFY(showsOnly(preview, QColor(0, 255, 0)));

        // Not a picture: the message, the name shown, the last picture kept.
        clickRow(*files, 3);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(boxes->boxes()[0].text, kInvalidPicture);
        QCOMPARE(boxes->boxes()[0].icon, QMessageBox::Critical);
        QCOMPARE(label->text(), QStringLiteral("d_text.jpg"));
        QVERIFY(showsOnly(preview, QColor(0, 255, 0)));

        // Preview off: the name follows, nothing is loaded.
        control<QCheckBox>(d, "Check1")->setChecked(false);
        clickRow(*files, 0);
        clickRow(*files, 3);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(label->text(), QStringLiteral("d_text.jpg"));
        QVERIFY(showsOnly(preview, QColor(0, 255, 0)));
        control<QCheckBox>(d, "Check1")->setChecked(true);

        // Ctrl-clicks select in any order; the add button keeps the file order.
        clickRow(*files, 2);
        clickRow(*files, 0, Qt::ControlModifier);
        boxes->clear();
        button(d, "Command1")->click();
        QCOMPARE(entries(*d.List1()), (QStringList{picture("a_red.bmp"), picture("c_green.BMP")}));
        QVERIFY(files->selectedItems().isEmpty());
        doubleClickRow(*files, 1);
        QCOMPARE(entries(*d.List1()),
                 (QStringList{picture("a_red.bmp"), picture("c_green.BMP"), picture("b_blue.jpg")}));
        QCOMPARE(label->text(), QStringLiteral("b_blue.jpg"));
        QVERIFY(showsOnly(preview, Qt::blue));
    }

    void emptyFolderAddsNothing()
    {
        QTemporaryDir empty;
        frmSettings &d = shown();
        browseTo(d, empty.path());
        button(d, "Command1")->click();
        QCOMPARE(d.List1()->count(), 0);
    }

    // Past 32767 entries the count line could not hold the list.
    void fullListTakesNoMore()
    {
        frmSettings &d = shown();
        QStringList many;
        for (int i = 0; i < kMaxListEntries - 1; ++i)
            many << QStringLiteral("/p/%1.jpg").arg(i);
        d.List1()->addItems(many);
        browseTo(d, pictures->path());
        auto *files = control<FileBox>(d, "File1");
        doubleClickRow(*files, 0);
        QCOMPARE(d.List1()->count(), kMaxListEntries);
        doubleClickRow(*files, 0);
        QCOMPARE(d.List1()->count(), kMaxListEntries);
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QVERIFY(boxes->boxes()[0].text.contains(QStringLiteral("32767")));
    }

    void listClicksAndEditing()
    {
        const QString missing = pictures->filePath(QStringLiteral("gone.jpg"));
        writeList(QStringLiteral(" 3 \r\n 4 \r\n%1\r\n%2\r\n%3\r\n%4\r\n")
                      .arg(picture("a_red.bmp"), missing, picture("d_text.jpg"), picture("b_blue.jpg"))
                      .toUtf8());
        frmSettings &d = shown();
        ListBox *list = d.List1();
        auto *preview = control<ImageView>(d, "Picture1");
        auto *label = control<QLabel>(d, "Label6");
        control<QCheckBox>(d, "Check1")->setChecked(false);

        // A click enables the buttons even with the preview off.
        clickRow(*list, 0);
        for (const char *name : {"Command2", "Command6", "Command7"})
            QVERIFY2(button(d, name)->isEnabled(), name);
        QCOMPARE(label->text(), picture("a_red.bmp"));
        QVERIFY(!preview->hasPicture());

        control<QCheckBox>(d, "Check1")->setChecked(true);
        clickRow(*list, 0);
        QVERIFY(showsOnly(preview, Qt::red));
        for (int row : {1, 2}) {
            boxes->clear();
            clickRow(*list, row);
            QCOMPARE(boxes->boxes().size(), size_t(1));
            QCOMPARE(boxes->boxes()[0].text, kInvalidPicture);
            QCOMPARE(boxes->boxes()[0].icon, QMessageBox::Critical);
            QCOMPARE(label->text(), list->item(row)->text());
            QVERIFY(showsOnly(preview, Qt::red));
        }
        QVERIFY(!(*program)->hasEnded());

        // The dialog keeps working after a failed load: move the bad entry up.
        button(d, "Command6")->click();
        QCOMPARE(entries(*list), (QStringList{picture("a_red.bmp"), picture("d_text.jpg"), missing, picture("b_blue.jpg")}));
        QCOMPARE(label->text(), picture("d_text.jpg"));
        button(d, "Command6")->click();
        button(d, "Command6")->click(); // first entry: nothing, label included
        QCOMPARE(list->item(0)->text(), picture("d_text.jpg"));
        QCOMPARE(label->text(), picture("d_text.jpg"));
        clickRow(*list, 3);
        button(d, "Command7")->click(); // last entry: nothing
        QCOMPARE(list->item(3)->text(), picture("b_blue.jpg"));
        clickRow(*list, 2);
        button(d, "Command7")->click();
        QCOMPARE(list->item(3)->text(), missing);
        QCOMPARE(label->text(), missing);

        // Double-click removes the entry and hides the preview until the next click.
        clickRow(*list, 0);
        doubleClickRow(*list, 1);
        QCOMPARE(entries(*list), (QStringList{picture("d_text.jpg"), picture("b_blue.jpg"), missing}));
        QVERIFY(preview->isHidden());
        QCOMPARE(list->currentRow(), -1);

        // No current entry: Up and Down change nothing and clear the label.
        button(d, "Command6")->click();
        QCOMPARE(entries(*list), (QStringList{picture("d_text.jpg"), picture("b_blue.jpg"), missing}));
        QCOMPARE(label->text(), QString());
        boxes->clear();
        browseTo(d, pictures->path());
        clickRow(*control<FileBox>(d, "File1"), 0);
        QVERIFY(preview->isVisible());

        // Arrow keys move the focus mark like a click does.
        clickRow(*list, 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(label->text(), picture("b_blue.jpg"));
        QVERIFY(showsOnly(preview, Qt::blue));

        // Remove: every selected entry.
        clickRow(*list, 0);
        clickRow(*list, 2, Qt::ControlModifier);
        button(d, "Command2")->click();
        QCOMPARE(entries(*list), QStringList{picture("b_blue.jpg")});
    }

    void okStoresAndEnds()
    {
        frmSettings &d = shown();
        browseTo(d, pictures->path());
        doubleClickRow(*control<FileBox>(d, "File1"), 0);
        doubleClickRow(*control<FileBox>(d, "File1"), 0);
        d.Text1()->setText(QStringLiteral("2.5"));
        d.chkRandomP()->setChecked(true);
        (*program)->form<frmAbout>().show();
        button(d, "Command3")->click();
        QVERIFY((*program)->hasEnded());
        QVERIFY(!(*program)->loadedForm<frmAbout>());
        const QByteArray path = picture("a_red.bmp").toLocal8Bit();
        QCOMPARE(program->readProgramFile(kPictureListFile), "2.5\r\n 2 \r\n" + path + "\r\n" + path + "\r\n");
        QCOMPARE(stored(), QStringLiteral("1"));
    }

    void okThatCannotWriteKeepsTheDialog()
    {
        QVERIFY(QDir(program->folder()).mkpath(QStringLiteral("RozG.ini/inside")));
        frmSettings &d = shown();
        button(d, "Command3")->click();
        QCOMPARE(boxes->boxes().size(), size_t(1));
        QCOMPARE(boxes->boxes()[0].icon, QMessageBox::Critical);
        QVERIFY(boxes->boxes()[0].text.contains(QStringLiteral("RozG.ini")));
        QVERIFY(!(*program)->hasEnded());
        QVERIFY(d.isVisible());
        QVERIFY(QFileInfo(QDir(program->folder()).filePath(QStringLiteral("RozG.ini/inside"))).isDir());
    }

    void cancelAndCloseBoxStoreNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxStoreNothing()
    {
        QFETCH(bool, closeBox);
        const QByteArray before = " 7 \r\n 1 \r\n/p/a.jpg\r\n";
        writeList(before);
        QCOMPARE((*program)->store().save(QStringLiteral("Veroridovuz"), kPresets, kRandomP, QStringLiteral("0")), QString());
        frmSettings &d = shown();
        d.Text1()->setText(QStringLiteral("9"));
        d.chkRandomP()->setChecked(true);
        d.List1()->addItem(QStringLiteral("/p/b.jpg"));
        if (closeBox)
            d.close();
        else
            button(d, "Command4")->click();
        QVERIFY(!(*program)->loadedForm<frmSettings>());
        QVERIFY((*program)->hasEnded());
        QCOMPARE(program->readProgramFile(kPictureListFile), before);
        QCOMPARE(stored(), QStringLiteral("0"));
    }

    void cancelWithAboutOpenKeepsRunning()
    {
        frmSettings &d = shown();
        button(d, "cmdAbout")->click();
        button(d, "cmdAbout")->click();
        int abouts = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            abouts += qobject_cast<frmAbout *>(w) && w->isVisible();
        QCOMPARE(abouts, 1);
        QVERIFY(d.isVisible());
        button(d, "Command4")->click();
        QVERIFY(!(*program)->hasEnded());
        (*program)->loadedForm<frmAbout>()->close();
        QVERIFY((*program)->hasEnded());
    }

    void addMusicHidesAndKeepsState()
    {
        frmSettings &d = shown();
        d.List1()->addItem(QStringLiteral("/p/a.jpg"));
        d.Text1()->setText(QStringLiteral("4"));
        button(d, "Command5")->click();
        QVERIFY(!d.isVisible());
        QVERIFY((*program)->loadedForm<frmMusic>()->isVisible());
        QCOMPARE((*program)->loadedForm<frmSettings>(), &d);
        QVERIFY(!(*program)->hasEnded());
        d.show();
        QCOMPARE(entries(*d.List1()), QStringList{"/p/a.jpg"});
        QCOMPARE(d.Text1()->text(), QStringLiteral("4"));
    }
};

QTEST_MAIN(tst_frmSettings)
#include "tst_frmSettings.moc"
