#include "dialogs/about/frmAbout.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

#include "dialogs/about/SystemInfo.h"
#include "dialogs/about/ZizureSite.h"
#include "platform/Shell.h"
#include "runtime/Program.h"
#include "runtime/Version.h"
#include "ui_frmAbout.h"

namespace vz {

namespace {

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

} // namespace

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(Program &program) : Form(program), ui(std::make_unique<Ui::frmAbout>())
{
    ui->setupUi(this);
    // A fixed frame with only a close box; a plain window, so that it has no owner.
    resize(382, 266);
    makeFixedDialog();

    QFont heading = font();
    heading.setPointSizeF(9.75);
    heading.setBold(true);
    for (QLabel *w : {ui->lblTitle, ui->lblVersion}) {
        w->setFont(heading);
        setTextColour(w, QColor(0, 0, 255));
    }
    setTextColour(ui->lblDescription, Qt::black);
    setTextColour(ui->lblDisclaimer, Qt::black);

    // The fingertip of the pointing hand is its hot spot.
    const QCursor hand(QPixmap(QStringLiteral(":/hand-cursor.png")), 6, 0);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->picIcon, ui->Image1, ui->Command1, ui->Command2})
        w->setCursor(hand);

    for (QLabel *w : {ui->picIcon, ui->Image1, ui->Image2})
        w->installEventFilter(this);
    connect(ui->Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &frmAbout::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &frmAbout::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &frmAbout::Command4_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + kAppTitle);
    ui->lblVersion->setText(versionText(kVersionMajor, kVersionMinor, kVersionRevision));
    ui->lblTitle->setText(kAppTitle);
}

// The pictures answer a click of the left button, released over them.
bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            if (watched == ui->picIcon)
                picIcon_Click();
            else if (watched == ui->Image1)
                Image1_Click();
            else if (watched == ui->Image2)
                Image2_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmAbout::Command1_Click() { program().shell().open(mailingListPage()); }

void frmAbout::Command2_Click() { program().shell().open(zizureHomePage()); }

void frmAbout::Command3_Click() { program().unload(this); }

void frmAbout::Command4_Click() { StartSysInfo(program().registry(), program().shell(), this); }

void frmAbout::Image1_Click()
{
    program().shell().start(QStringLiteral("start ") + zizureHomePage(), Shell::Window::MinimizedFocus);
}

void frmAbout::Image2_Click() { program().shell().open(productPage()); }

void frmAbout::picIcon_Click() { program().shell().open(zizureHomePage()); }

} // namespace vz
