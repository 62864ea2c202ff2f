#include "dialogs/picture/frmSettings.h"

namespace vz {

frmSettings::frmSettings(Program &program) : Form(program)
{
    setWindowTitle(QStringLiteral("Veroridovuz - Select Graphics"));
    setFixedSize(545, 357);
}

} // namespace vz
