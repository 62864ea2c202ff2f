#pragma once
// The picture settings dialog, "Veroridovuz - Select Graphics": browses for
// picture files, edits the picture list, previews the picture clicked last,
// and holds the display interval, the random order switch and the switch that
// fits large pictures to the screen. The show loads it hidden and reads Text1,
// List1, chkRandomP and chkFitP as its settings.

#include <memory>

#include "runtime/Form.h"
#include "settings/ShowOptions.h"

class QCheckBox;
class QLineEdit;

namespace Ui {
class frmSettings;
}

namespace vz {

class ListBox;

class frmSettings : public Form
{
    Q_OBJECT
public:
    explicit frmSettings(Program &program);
    ~frmSettings() override;

    void Form_Load() override;

    // The display interval as typed, in seconds.
    QLineEdit *Text1() const;
    // The chosen pictures, in show order.
    ListBox *List1() const;
    // Ticked: pictures in random order.
    QCheckBox *chkRandomP() const;
    // Ticked: pictures larger than the screen are scaled down to fit it.
    QCheckBox *chkFitP() const;
    // The show's further options, as loaded or set in the options dialog.
    const ShowOptions &showOptions() const { return m_options; }

protected:

private Q_SLOTS:
    void Drive1_Change();
    void Dir1_Change();
    void Command1_Click(); // the "&>>" button
    void File1_Click();
    void File1_DblClick();
    void Command2_Click(); // the "&Remove" button
    void List1_Click();
    void List1_DblClick();
    void Command6_Click(); // the "&Up" button
    void Command7_Click(); // the "&Down" button
    void Text1_LostFocus();
    void Command3_Click(); // the "&OK" button
    void Command4_Click(); // the "&Cancel" button
    void Command5_Click(); // the "&Add Music" button
    void cmdAbout_Click();
    void cmdOptions_Click();

private:
    // Shows the picture in the preview; false, after telling the user, when it
    // cannot be loaded.
    bool preview(const QString &path);

    std::unique_ptr<Ui::frmSettings> ui;
    ShowOptions m_options;
};

} // namespace vz
