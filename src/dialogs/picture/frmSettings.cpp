#include "dialogs/picture/frmSettings.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "controls/AccessKeys.h"
#include "controls/CheckValue.h"
#include "controls/ListEditing.h"
#include "dialogs/about/frmAbout.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/options/frmOptions.h"
#include "imaging/PictureLoader.h"
#include "runtime/MessageBox.h"
#include "runtime/Numbers.h"
#include "runtime/Program.h"
#include "settings/HorizIt.h"
#include "settings/PictureSettings.h"
#include "ui_frmSettings.h"

namespace vz {

namespace {

const QString kPicturePattern = QStringLiteral("*.bmp;*.jpg;*.jpeg;*.wmf;*.dib;*.ico;*.gif;*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.avif");

// The control the user was going to when a check sent the focus back must not
// go on to act on the click or access key that took the focus there; it is
// disabled until that input has been dealt with.
void holdBack(QWidget *control)
{
    if (!control || !control->isEnabled())
        return;
    control->setEnabled(false);
    QTimer::singleShot(0, control, [control] { control->setEnabled(true); });
}

} // namespace

frmSettings::frmSettings(Program &program) : Form(program), ui(std::make_unique<Ui::frmSettings>())
{
    ui->setupUi(this);
    // Laid out for a font of ten pixels to the em: 7.5 points at 96 dots per inch.
    makeFixedDialog(7.5);
    ui->File1->setPattern(kPicturePattern);
    ui->Drive1->setFocus();
    takeFocusOnAccessKeys(*this);

    connect(ui->Drive1, &DriveBox::changed, this, &frmSettings::Drive1_Change);
    connect(ui->Dir1, &FolderBox::changed, this, &frmSettings::Dir1_Change);
    connect(ui->Dir1, &FolderBox::refused, this, [this](const QString &folder) { tellFolderUnreadable(this, folder); });
    connect(ui->File1, &FileBox::click, this, &frmSettings::File1_Click);
    connect(ui->File1, &FileBox::dblClick, this, &frmSettings::File1_DblClick);
    connect(ui->List1, &ListBox::click, this, &frmSettings::List1_Click);
    connect(ui->List1, &ListBox::dblClick, this, &frmSettings::List1_DblClick);
    connect(ui->Text1, &TextBox::lostFocus, this, &frmSettings::Text1_LostFocus);
    connect(ui->Command1, &QPushButton::clicked, this, &frmSettings::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &frmSettings::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &frmSettings::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &frmSettings::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &frmSettings::Command5_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &frmSettings::Command6_Click);
    connect(ui->Command7, &QPushButton::clicked, this, &frmSettings::Command7_Click);
    connect(ui->cmdAbout, &QPushButton::clicked, this, &frmSettings::cmdAbout_Click);
    connect(ui->cmdOptions, &QPushButton::clicked, this, &frmSettings::cmdOptions_Click);
}

frmSettings::~frmSettings() = default;

QLineEdit *frmSettings::Text1() const { return ui->Text1; }
ListBox *frmSettings::List1() const { return ui->List1; }
QCheckBox *frmSettings::chkRandomP() const { return ui->chkRandomP; }
QCheckBox *frmSettings::chkFitP() const { return ui->chkFitP; }

void frmSettings::Form_Load()
{
    const PictureSettings stored = loadPictureSettings(program());
    if (stored.randomP)
        setCheckValue(*ui->chkRandomP, *stored.randomP);
    if (stored.fitP)
        setCheckValue(*ui->chkFitP, *stored.fitP);
    if (stored.interval)
        ui->Text1->setText(*stored.interval);
    ui->List1->addItems(stored.pictures);
    ui->Check1->setChecked(true);
    ui->Command2->setEnabled(false);
    ui->Command6->setEnabled(false);
    ui->Command7->setEnabled(false);
    SetListExtent(*ui->List1);
    m_options = loadShowOptions(program());
}


// The options are stored with the rest by OK, or dropped by Cancel.
void frmSettings::cmdOptions_Click()
{
    frmOptions dialog(m_options, this);
    if (dialog.exec() == QDialog::Accepted)
        m_options = dialog.options();
}

void frmSettings::Drive1_Change() { followDrive(this, *ui->Drive1, *ui->Dir1); }

void frmSettings::Dir1_Change()
{
    if (!ui->File1->setPath(ui->Dir1->path()))
        tellFolderUnreadable(this, ui->Dir1->path());
}

// A list longer than a count line can hold would load back empty, so it stops growing there.
void frmSettings::Command1_Click()
{
    tellNotAppended(this, appendChosenFiles(*ui->File1, *ui->List1, kMaxListEntries),
                    QStringLiteral("picture list"), QStringLiteral("pictures"));
}

void frmSettings::File1_DblClick()
{
    tellNotAppended(this, appendCurrentFile(*ui->File1, *ui->List1, kMaxListEntries),
                    QStringLiteral("picture list"), QStringLiteral("pictures"));
}

void frmSettings::Command2_Click() { removeSelectedEntries(*ui->List1); }

void frmSettings::List1_DblClick()
{
    removeCurrentEntry(*ui->List1);
    ui->Picture1->hide();
}

void frmSettings::Command6_Click()
{
    if (ui->List1->currentRow() == 0)
        return;
    cmdMoveUp_Click(*ui->List1);
    ui->Label6->setText(currentEntry(*ui->List1));
}

void frmSettings::Command7_Click()
{
    if (ui->List1->currentRow() == ui->List1->count() - 1)
        return;
    cmdMoveDown_Click(*ui->List1);
    ui->Label6->setText(currentEntry(*ui->List1));
}

bool frmSettings::preview(const QString &path)
{
    // Decoded no larger than the preview box shows it.
    const QSize box = (QSizeF(ui->Picture1->size()) * ui->Picture1->devicePixelRatioF()).toSize();
    const Picture picture = PictureLoader::loadPreview(path, box);
    if (!picture.ok()) {
        msgBox(this, QStringLiteral("Invalid picture format,can not be inserted in the screen saver"),
               MsgIcon::Critical);
        return false;
    }
    ui->Picture1->setPicture(picture.image);
    return true;
}

void frmSettings::File1_Click()
{
    ui->Picture1->show();
    const QString name = ui->File1->fileName();
    ui->Label6->setText(name);
    if (ui->Check1->checkState() == Qt::Checked)
        preview(fullPath(ui->File1->path(), name));
}

void frmSettings::List1_Click()
{
    ui->Command2->setEnabled(true);
    ui->Command6->setEnabled(true);
    ui->Command7->setEnabled(true);
    ui->Picture1->show();
    const QString entry = currentEntry(*ui->List1);
    if (ui->Check1->checkState() == Qt::Checked)
        preview(entry);
    ui->Label6->setText(entry);
}

void frmSettings::Text1_LostFocus()
{
    const QString text = ui->Text1->text();
    if (text.isEmpty() || isNumeric(text))
        return;
    QWidget *goingTo = QApplication::focusWidget();
    msgBox(this, QStringLiteral("Enter valid number as the interval"));
    ui->Text1->clear();
    activateWindow();
    ui->Text1->setFocus(Qt::OtherFocusReason);
    if (goingTo && goingTo != ui->Text1 && goingTo->window() == this)
        holdBack(goingTo);
}

void frmSettings::Command3_Click()
{
    if (const auto saved = savePictureSettings(program(), checkValue(*ui->chkRandomP), ui->Text1->text(),
                                               ui->List1->entries(), checkValue(*ui->chkFitP),
                                               storedStates(program(), m_options));
        !saved) {
        msgBox(this, saved.error(), MsgIcon::Critical);
        return;
    }
    program().end();
}

void frmSettings::Command4_Click() { program().unload(this); }

void frmSettings::Command5_Click()
{
    hide();
    program().form<frmMusic>().show();
}

void frmSettings::cmdAbout_Click()
{
    auto &about = program().form<frmAbout>();
    about.show();
    about.raise();
    about.activateWindow();
}

} // namespace vz
