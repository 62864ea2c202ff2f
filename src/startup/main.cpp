// The program's entry: picks the mode from the command line and runs it.
//
// The one way out: whatever ends the program (the picture dialog's OK, input
// on the show, a signal, the last window closed) ends the event loop through
// Program::ended. Then the forms it let go are deleted, so that what they hold
// is released (the music's temporary copies, a picture being decoded, which is
// given up), and main returns. A decode that cannot stop at once is left to
// finish on its own thread; nothing waits for it.

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <memory>

#include "platform/Memory.h"
#include "platform/Termination.h"
#include "platform/WindowSystem.h"
#include "runtime/Program.h"
#include "startup/Module1.h"
#include "startup/SystemServices.h"

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    vz::Termination::ignoreResetsMeanwhile();
    const vz::Mode mode = vz::modeFor(vz::commandSwitch(args.join(u' ')));
    // Preview opens nothing, so it needs no display at all.
    if (mode == vz::Mode::Preview)
        return 0;

    vz::returnLargeBlocksToSystem();
    auto x11 = std::make_unique<vz::X11Choice>();
    if (const QString problem = x11->problem(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    QApplication app(argc, argv);
    x11.reset();
    QApplication::setQuitOnLastWindowClosed(false);
    vz::Program program(QCoreApplication::applicationDirPath(),
                        vz::systemServices(QCoreApplication::applicationFilePath()));
    if (mode == vz::Mode::Show)
        program.setHostWindow(
            vz::hostWindowFor(args, qEnvironmentVariable("XSCREENSAVER_WINDOW"), program.hosts()));
    QObject::connect(&program, &vz::Program::ended, &app, &QCoreApplication::exit);
    vz::Termination termination;
    QObject::connect(&termination, &vz::Termination::requested, &program,
                     [&program] { vz::Terminate(program); });
    QObject::connect(&termination, &vz::Termination::reset, &program, [&program] { vz::ResetShow(program); });
    vz::SubMain(program, mode);
    const int exitCode = program.hasEnded() ? program.exitCode() : QApplication::exec();
    // exec() deletes them as it returns; a program that ended before the loop
    // ran (a host window that is gone) has its forms deleted here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}
