#pragma once
// Termination requests from the host: SIGTERM, SIGINT and SIGHUP, which an idle
// daemon sends to end the show; and SIGUSR1, with which a screen locker asks
// its saver to start afresh (when its password prompt closes) and which
// must not end the program. The signal handler only writes a byte to a
// pipe; the event loop reads it and emits requested() or reset(), so the
// program acts through its ordinary code, never from inside a signal handler.

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace vz {

class Termination : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers; one object per process.
    explicit Termination(QObject *parent = nullptr);
    // Until the handlers are installed, a request to start afresh is ignored
    // rather than ending the program: the first thing the program does.
    static void ignoreResetsMeanwhile();
    ~Termination() override;

Q_SIGNALS:
    void requested(int signal);
    // The host asks the show to start its current picture afresh.
    void reset();

private:
    void readPipe();
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace vz
