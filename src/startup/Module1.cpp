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
    // A show inside a host's window is one of several that a daemon may run,
    // one per monitor; only a show of its own covers the screen alone.
    if (program.hostWindow() || !program.instance().prevInstance())
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
    // Daemons of the xscreensaver family write their options with one dash or
    // with two; a window named by its id wins over every other choice.
    const auto option = [&](const QString &name) {
        const qsizetype i = args.indexOf(QStringLiteral("-") + name);
        return i >= 0 ? i : args.indexOf(QStringLiteral("--") + name);
    };
    if (const qsizetype i = option(QStringLiteral("window-id")); i >= 0)
        return windowId(args.value(i + 1));
    // The daemon's window stands in for the root: it is the virtual root a
    // hack is told about, and the real root lies under the daemon's windows.
    if (!xscreensaverWindow.isEmpty())
        return windowId(xscreensaverWindow);
    if (option(QStringLiteral("root")) >= 0)
        return hosts.rootWindow();
    return std::nullopt;
}

void Terminate(Program &program)
{
    if (frmmain *show = program.loadedForm<frmmain>())
        show->endscr();
    else
        program.end();
}

void ResetShow(Program &program)
{
    if (frmmain *show = program.loadedForm<frmmain>())
        show->restartInterval();
}

void HideCursor(Cursor &cursor)
{
    auto counter = cursor.showCursor(false);
    while (counter > -1)
        counter = cursor.showCursor(false);
}

void RestoreCursor(Cursor &cursor) { cursor.showCursor(true); }

} // namespace vz
