#include "startup/Module1.h"

#include "dialogs/picture/frmSettings.h"
#include "platform/Cursor.h"
#include "platform/HostWindow.h"
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

namespace {

// The window id in the text; 0, which names no window, when the text is not
// one. A show asked to draw into a window must not cover the screen instead.
quintptr windowId(const QString &text)
{
    bool ok = false;
    const QString t = text.trimmed();
    const quintptr id = t.startsWith(u"0x", Qt::CaseInsensitive) ? t.mid(2).toULongLong(&ok, 16)
                                                                 : t.toULongLong(&ok, 10);
    return ok ? id : 0;
}

} // namespace

std::optional<quintptr> hostWindowFor(const QStringList &args, const QString &xscreensaverWindow,
                                      const HostWindow &hosts)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"-window-id")
            return windowId(args.value(i + 1));
        if (args[i] == u"-root")
            return hosts.rootWindow();
    }
    if (!xscreensaverWindow.isEmpty())
        return windowId(xscreensaverWindow);
    return std::nullopt;
}

void Terminate(Program &program)
{
    if (frmmain *show = program.loadedForm<frmmain>())
        show->endscr();
    else
        program.end();
}

void HideCursor(Cursor &cursor)
{
    auto counter = cursor.showCursor(false);
    while (counter > -1)
        counter = cursor.showCursor(false);
}

void RestoreCursor(Cursor &cursor) { cursor.showCursor(true); }

} // namespace vz
