#include "dialogs/about/frmAbout.h"

#include "runtime/Program.h"

namespace vz {

frmAbout::frmAbout(Program &program) : Form(program)
{
    setWindowTitle(QStringLiteral("About ") + kAppTitle);
    setFixedSize(382, 266);
}

} // namespace vz
