#pragma once
// Termination requests from the host: SIGTERM, SIGINT and SIGHUP, which an idle
// daemon sends to end the show. The signal handler only writes a byte to a
// pipe; the event loop reads it and emits requested(), so the program ends
// through its ordinary code, never from inside a signal handler.

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
    ~Termination() override;

Q_SIGNALS:
    void requested(int signal);

private:
    void readPipe();
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace vz
