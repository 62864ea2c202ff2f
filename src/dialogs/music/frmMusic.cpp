#include "dialogs/music/frmMusic.h"

#include <QCloseEvent>
#include <QDir>
#include <QScreen>
#include <QStyle>

#include "controls/AccessKeys.h"
#include "controls/CheckValue.h"
#include "controls/ListEditing.h"
#include "dialogs/picture/frmSettings.h"
#include "runtime/MessageBox.h"
#include "runtime/Program.h"
#include "settings/HorizIt.h"
#include "settings/MusicSettings.h"
#include "ui_frmMusic.h"

namespace vz {

namespace {
const QString kMusicPattern = QStringLiteral("*.mp3;*.wav;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac");
} // namespace

frmMusic::frmMusic(Program &program) : Form(program), ui(std::make_unique<Ui::frmMusic>())
{
    ui->setupUi(this);
    // Laid out for a font of ten pixels to the em: 7.5 points at 96 dots per inch.
    makeFixedDialog(7.5);
    ui->File1->setPattern(kMusicPattern);
    ui->Drive1->setFocus();
    takeFocusOnAccessKeys(*this);

    connect(ui->Drive1, &DriveBox::changed, this, &frmMusic::Drive1_Change);
    connect(ui->Dir1, &FolderBox::changed, this, &frmMusic::Dir1_Change);
    connect(ui->Dir1, &FolderBox::refused, this, &frmMusic::folderUnreadable);
    connect(ui->File1, &FileBox::click, this, &frmMusic::File1_Click);
    connect(ui->File1, &FileBox::dblClick, this, &frmMusic::File1_DblClick);
    connect(ui->List1, &ListBox::click, this, &frmMusic::List1_Click);
    connect(ui->List1, &ListBox::dblClick, this, &frmMusic::List1_DblClick);
    connect(ui->Command1, &QPushButton::clicked, this, &frmMusic::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &frmMusic::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &frmMusic::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &frmMusic::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &frmMusic::Command5_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &frmMusic::Command6_Click);
}

frmMusic::~frmMusic() = default;

ListBox *frmMusic::List1() const { return ui->List1; }
QCheckBox *frmMusic::chkRandomM() const { return ui->chkRandomM; }

void frmMusic::Form_Load()
{
    const MusicSettings stored = loadMusicSettings(program());
    if (stored.randomM)
        setCheckValue(*ui->chkRandomM, *stored.randomM);
    ui->List1->addItems(stored.songs);
    SetListExtent(*ui->List1);
}


void frmMusic::closeEvent(QCloseEvent *event)
{
    // Only a shown dialog has a close box; the hidden one the show holds
    // closes like any form.
    if (!isVisible()) {
        Form::closeEvent(event);
        return;
    }
    event->accept();
    Command4_Click();
}

void frmMusic::Drive1_Change() { followDrive(this, *ui->Drive1, *ui->Dir1); }

void frmMusic::Dir1_Change()
{
    if (!ui->File1->setPath(ui->Dir1->path()))
        folderUnreadable(ui->Dir1->path());
}

void frmMusic::File1_Click() { ui->Label3->setText(ui->File1->fileName()); }

void frmMusic::File1_DblClick() { tellAppended(appendCurrentFile(*ui->File1, *ui->List1, kMaxListEntries)); }

void frmMusic::Command1_Click() { tellAppended(appendChosenFiles(*ui->File1, *ui->List1, kMaxListEntries)); }

void frmMusic::Command2_Click() { removeSelectedEntries(*ui->List1); }

void frmMusic::List1_Click()
{
    ui->Label3->setText(currentEntry(*ui->List1));
    ui->Command2->setEnabled(true);
    ui->Command5->setEnabled(true);
    ui->Command6->setEnabled(true);
}

void frmMusic::List1_DblClick() { removeCurrentEntry(*ui->List1); }

void frmMusic::Command5_Click()
{
    if (ui->List1->currentRow() != 0)
        cmdMoveUp_Click(*ui->List1);
}

void frmMusic::Command6_Click()
{
    if (ui->List1->currentRow() != ui->List1->count() - 1)
        cmdMoveDown_Click(*ui->List1);
}

void frmMusic::Command3_Click()
{
    if (const auto saved = saveMusicSettings(program(), checkValue(*ui->chkRandomM), ui->List1->entries()); !saved) {
        msgBox(this, saved.error(), MsgIcon::Critical);
        return;
    }
    backToPictures();
}

void frmMusic::Command4_Click() { backToPictures(); }

void frmMusic::backToPictures()
{
    // Shown first: the program ends as soon as none of its windows is visible.
    program().form<frmSettings>().show();
    program().unload(this);
}

void frmMusic::folderUnreadable(const QString &folder) { tellFolderUnreadable(this, folder); }

void frmMusic::tellAppended(const Appended &result)
{
    tellNotAppended(this, result, QStringLiteral("play list"), QStringLiteral("songs"));
}

} // namespace vz
