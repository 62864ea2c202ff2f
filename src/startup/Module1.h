#pragma once
// Start-up: the command-line switch, the mode it picks, the single-instance
// check of the show, and hiding and restoring the mouse cursor.

#include <QString>
#include <QStringList>
#include <optional>

#include "runtime/Numbers.h"

namespace vz {

class Program;
class Cursor;
class HostWindow;

enum class Mode : Integer { Settings = 1, Show = 2, Preview = 3 };

// The first two characters of the trimmed, upper-cased command line.
QString commandSwitch(const QString &commandLine);
// "/C" settings, "/P" preview (nothing), anything else the show.
Mode modeFor(const QString &commandSwitch);

// Opens the window of the mode. Preview opens nothing.
void SubMain(Program &program, Mode mode);

// Ends the program when another copy runs and a window titled exactly
// "Veroridovuz" (a running show) exists; otherwise returns. A show inside a
// host's window is never refused: a daemon runs one on each monitor.
void CheckInstance(Program &program);

// The host window for a show drawn inside a screen-saver daemon's window:
// "-window-id N" (decimal or 0x hexadecimal) first, then $XSCREENSAVER_WINDOW,
// also when "-root" is given (the daemon's window is then the virtual root),
// then the root window for "-root" alone; options with one dash or two. A
// named window that is not a number is 0, which no host window is, so that
// show ends at once.
std::optional<quintptr> hostWindowFor(const QStringList &args, const QString &xscreensaverWindow,
                                      const HostWindow &hosts);

// Ends the program on the host's request (SIGTERM and the like): a running
// show ends as its own exit does.
void Terminate(Program &program);
// A screen locker's request to start afresh (SIGUSR1): the show keeps running
// and its current picture gets a whole interval again.
void ResetShow(Program &program);

// Hides the cursor whatever its display counter: lowers it until it is below 0.
void HideCursor(Cursor &cursor);
// Undoes one HideCursor: raises the counter by one.
void RestoreCursor(Cursor &cursor);

} // namespace vz
