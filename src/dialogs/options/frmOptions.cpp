#include "dialogs/options/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "runtime/Program.h"

namespace vz {

frmOptions::frmOptions(const ShowOptions &o, QWidget *parent)
    : QDialog(parent),
      chkShuffleP(new QCheckBox(QStringLiteral("Random pictures: each &picture once per round"), this)),
      chkShuffleM(new QCheckBox(QStringLiteral("Random songs: each song once per roun&d"), this)),
      chkResumeP(new QCheckBox(QStringLiteral("Continue &where the last show stopped"), this)),
      chkFadeP(new QCheckBox(QStringLiteral("&Fade from one picture to the next"), this)),
      txtFadeMs(new QSpinBox(this)),
      chkBlurP(new QCheckBox(QStringLiteral("&Blurred picture around the picture"), this)),
      cboCaptionP(new QComboBox(this)),
      chkAllMonP(new QCheckBox(QStringLiteral("Pictures on &every monitor"), this))
{
    setWindowTitle(kAppTitle + QStringLiteral(" - Show Options"));
    setModal(true);
    txtFadeMs->setRange(ShowOptions::kShortestFadeMs, ShowOptions::kLongestFadeMs);
    txtFadeMs->setSingleStep(250);
    txtFadeMs->setSuffix(QStringLiteral(" ms"));
    cboCaptionP->addItems({QStringLiteral("None"), QStringLiteral("File name"), QStringLiteral("Date taken"),
                           QStringLiteral("File name and date taken")});

    chkShuffleP->setChecked(o.shuffleP);
    chkShuffleM->setChecked(o.shuffleM);
    chkResumeP->setChecked(o.resumeP);
    chkFadeP->setChecked(o.fadeP);
    txtFadeMs->setValue(o.fadeMs);
    txtFadeMs->setEnabled(o.fadeP);
    connect(chkFadeP, &QCheckBox::toggled, txtFadeMs, &QWidget::setEnabled);
    chkBlurP->setChecked(o.blurP);
    cboCaptionP->setCurrentIndex(o.captionP);
    chkAllMonP->setChecked(o.allMonP);

    auto *fields = new QFormLayout;
    auto *fadeLabel = new QLabel(QStringLiteral("Fade &length:"), this);
    fadeLabel->setBuddy(txtFadeMs);
    fields->addRow(fadeLabel, txtFadeMs);
    auto *captionLabel = new QLabel(QStringLiteral("Capt&ion:"), this);
    captionLabel->setBuddy(cboCaptionP);
    fields->addRow(captionLabel, cboCaptionP);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    for (QWidget *w : {static_cast<QWidget *>(chkShuffleP), static_cast<QWidget *>(chkShuffleM),
                       static_cast<QWidget *>(chkResumeP), static_cast<QWidget *>(chkFadeP)})
        layout->addWidget(w);
    layout->addLayout(fields);
    layout->addWidget(chkBlurP);
    layout->addWidget(chkAllMonP);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

ShowOptions frmOptions::options() const
{
    ShowOptions o;
    o.shuffleP = chkShuffleP->isChecked();
    o.shuffleM = chkShuffleM->isChecked();
    o.resumeP = chkResumeP->isChecked();
    o.fadeP = chkFadeP->isChecked();
    o.fadeMs = txtFadeMs->value();
    o.blurP = chkBlurP->isChecked();
    o.captionP = cboCaptionP->currentIndex();
    o.allMonP = chkAllMonP->isChecked();
    return o;
}

} // namespace vz
