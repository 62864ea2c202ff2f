#pragma once
// "Veroridovuz - Show Options": the show's options beyond the picture
// dialog's own, edited modally for the picture dialog, which stores them with
// its OK. Every control has an access key; OK takes the choices, Cancel and
// the close box drop them.

#include <QDialog>

#include "settings/ShowOptions.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vz {

class frmOptions final : public QDialog
{
    Q_OBJECT
public:
    frmOptions(const ShowOptions &options, QWidget *parent);
    // What the controls say now.
    ShowOptions options() const;

private:
    QCheckBox *chkShuffleP;
    QCheckBox *chkShuffleM;
    QCheckBox *chkResumeP;
    QCheckBox *chkFadeP;
    QSpinBox *txtFadeMs;
    QCheckBox *chkBlurP;
    QComboBox *cboCaptionP;
    QCheckBox *chkAllMonP;
};

} // namespace vz
