#pragma once
// The music settings dialog, "Veroridovuz - Select Music": browses for MP3 and
// WAV files, edits the play list and holds the random order switch. The picture
// dialog swaps itself for this one; OK and Cancel swap back. The show loads it
// hidden and reads List1 and chkRandomM as its music settings.

#include <memory>

#include "runtime/Form.h"

class QCheckBox;

namespace Ui {
class frmMusic;
}

namespace vz {

class ListBox;
struct Appended;

class frmMusic : public Form
{
    Q_OBJECT
public:
    explicit frmMusic(Program &program);
    ~frmMusic() override;

    void Form_Load() override;

    // The chosen songs, in play order.
    ListBox *List1() const;
    // Ticked: songs in random order.
    QCheckBox *chkRandomM() const;

protected:
    // The close box works as Cancel.
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();
    void Command1_Click(); // the "&>>" button
    void Command2_Click(); // the "&Remove" button
    void List1_Click();
    void List1_DblClick();
    void Command5_Click(); // the "&Up" button
    void Command6_Click(); // the "&Down" button
    void Command3_Click(); // the "&OK" button
    void Command4_Click(); // the "&Cancel" button

private:
    void folderUnreadable(const QString &folder);
    // Tells what an append left out, in the play list's words.
    void tellAppended(const Appended &result);
    // Unloads this dialog and brings the picture dialog back.
    void backToPictures();

    std::unique_ptr<Ui::frmMusic> ui;
};

} // namespace vz
