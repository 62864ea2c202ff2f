#pragma once
// The music settings dialog, "Veroridovuz - Select Music".

#include <QCheckBox>
#include <QListWidget>

#include "runtime/Form.h"

namespace vz {

class frmMusic : public Form
{
    Q_OBJECT
public:
    explicit frmMusic(Program &program);
    void Form_Load() override;

    QListWidget *List1() const { return m_list1; }
    QCheckBox *chkRandomM() const { return m_random; }

private:
    QListWidget *m_list1;
    QCheckBox *m_random;
};

} // namespace vz
