#pragma once
// The picture settings dialog, "Veroridovuz - Select Graphics".

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

#include "runtime/Form.h"

namespace vz {

class frmSettings : public Form
{
    Q_OBJECT
public:
    explicit frmSettings(Program &program);
    void Form_Load() override;

    QLineEdit *Text1() const { return m_text1; }
    QListWidget *List1() const { return m_list1; }
    QCheckBox *chkRandomP() const { return m_random; }

private:
    QLineEdit *m_text1;
    QListWidget *m_list1;
    QCheckBox *m_random;
};

} // namespace vz
