#pragma once
// Learns when windows of other programs are destroyed, over an X connection of
// its own that asks the server for their structure events; Qt's connection
// does not report what happens to a foreign window.

#include <QObject>
#include <QSet>
#include <memory>

class QSocketNotifier;

namespace vz {

namespace x11 {
class Connection;
}

class DestroyWatch final : public QObject
{
    Q_OBJECT
public:
    explicit DestroyWatch(QObject *parent = nullptr);
    ~DestroyWatch() override;

    // From now on windowDestroyed(window) follows the window's end; a window
    // that is already gone is reported from the event loop.
    void watch(quintptr window);

Q_SIGNALS:
    void windowDestroyed(quintptr window);

private:
    void readEvents();

    std::unique_ptr<x11::Connection> m_display;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QSet<quintptr> m_watched;
};

} // namespace vz
