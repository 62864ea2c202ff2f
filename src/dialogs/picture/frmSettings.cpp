#include "dialogs/picture/frmSettings.h"

#include "runtime/CheckValue.h"
#include "settings/PictureSettings.h"

namespace vz {

frmSettings::frmSettings(Program &program)
    : Form(program), m_text1(new QLineEdit(this)), m_list1(new QListWidget(this)),
      m_random(new QCheckBox(this))
{
    setWindowTitle(QStringLiteral("Veroridovuz - Select Graphics"));
    setFixedSize(545, 357);
}

void frmSettings::Form_Load()
{
    const PictureSettings s = loadPictureSettings(program());
    if (s.randomP)
        m_random->setCheckState(toCheckState(*s.randomP));
    if (s.interval)
        m_text1->setText(*s.interval);
    m_list1->addItems(s.pictures);
}

} // namespace vz
