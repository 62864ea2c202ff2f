#include "platform/Termination.h"

#include <QSocketNotifier>

#include "platform/Logging.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vz {

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGUSR1};

void onSignal(int signal)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

Termination::Termination(QObject *parent) : QObject(parent)
{
    // Without the pipe the signals keep their default action: they still end
    // the program, only without its own ending.
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcPlatform) << "termination signals not handled:" << std::strerror(errno);
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &Termination::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

void Termination::ignoreResetsMeanwhile()
{
    ::signal(SIGUSR1, SIG_IGN);
}

Termination::~Termination()
{
    // A late request to start afresh is no reason to die on the way out.
    struct sigaction action = {};
    for (int s : kSignals) {
        action.sa_handler = s == SIGUSR1 ? SIG_IGN : SIG_DFL;
        ::sigaction(s, &action, nullptr);
    }
    m_notifier.reset();
    for (int &fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void Termination::readPipe()
{
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) {
        if (byte == SIGUSR1)
            Q_EMIT reset();
        else
            Q_EMIT requested(byte);
    }
}

} // namespace vz
