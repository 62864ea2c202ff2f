#include "startup/Module1.h"

#include "dialogs/picture/frmSettings.h"
#include "platform/Cursor.h"
#include "platform/Instance.h"
#include "runtime/Program.h"
#include "show/frmmain.h"

namespace vz {

QString commandSwitch(const QString &commandLine)
{
    return commandLine.trimmed().toUpper().left(2);
}

Mode modeFor(const QString &commandSwitch)
{
    if (commandSwitch == u"/C")
        return Mode::Settings;
    if (commandSwitch == u"/P")
        return Mode::Preview;
    return Mode::Show;
}

void SubMain(Program &program, Mode mode)
{
    switch (mode) {
    case Mode::Settings:
        program.form<frmSettings>().show();
        break;
    case Mode::Show:
        CheckInstance(program);
        if (program.hasEnded())
            return;
        program.form<frmmain>().show();
        break;
    case Mode::Preview:
        break;
    }
}

void CheckInstance(Program &program)
{
    if (!program.instance().prevInstance())
        return;
    if (program.instance().findWindow(kAppTitle)) {
        program.end();
        return;
    }
    program.form<frmmain>().setWindowTitle(kAppTitle);
}

void HideCursor(Cursor &cursor)
{
    auto counter = cursor.showCursor(false);
    while (counter > -1)
        counter = cursor.showCursor(false);
}

void RestoreCursor(Cursor &cursor) { cursor.showCursor(true); }

} // namespace vz
