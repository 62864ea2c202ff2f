#pragma once
// The About dialog: title, version, description, a copyright warning, links to
// the maker's web pages and a launcher for the system information tool. It is
// shown without an owner beside the picture dialog; one copy at a time.

#include <QString>
#include <memory>

#include "runtime/Form.h"

namespace Ui {
class frmAbout;
}

namespace vz {

// The version line, "Version 1.0.0": the numbers in plain decimal.
QString versionText(int major, int minor, int revision);

class frmAbout : public Form
{
    Q_OBJECT
public:
    explicit frmAbout(Program &program);
    ~frmAbout() override;

    void Form_Load() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Image1_Click();
    void Image2_Click();
    void picIcon_Click();

    std::unique_ptr<Ui::frmAbout> ui;
};

} // namespace vz
