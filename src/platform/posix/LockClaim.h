#pragma once
// The music claim as a lock (flock) on a file in the user's runtime folder,
// named after the display. The lock belongs to an open descriptor, so the
// system lets go of it the moment its holder ends, however it ends; no claim
// of a killed show is left behind, and no process id has to be trusted.

#include <QString>
#include <QTimer>

#include "platform/MusicClaim.h"

namespace vz {

class LockClaim final : public MusicClaim
{
public:
    // The lock file in folder for the X display named as in $DISPLAY; the
    // screen number (":0.1") does not count, the display is the same.
    static QString fileFor(const QString &folder, const QString &display);

    explicit LockClaim(QString file);
    ~LockClaim() override;

    void request() override;
    void release() override;
    bool held() const override { return m_held; }

private:
    void tryTake();

    QString m_file;
    int m_fd = -1;
    bool m_held = false;
    QTimer m_retry;
};

} // namespace vz
