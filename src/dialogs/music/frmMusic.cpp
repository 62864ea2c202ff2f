#include "dialogs/music/frmMusic.h"

namespace vz {

frmMusic::frmMusic(Program &program) : Form(program)
{
    setWindowTitle(QStringLiteral("Veroridovuz - Select Music"));
    setFixedSize(505, 258);
}

} // namespace vz
