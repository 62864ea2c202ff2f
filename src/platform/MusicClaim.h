#pragma once
// The music among several shows: a screen-saver daemon runs one show per
// monitor, and the user's songs should play once, not once per monitor. Of
// the shows that one user runs on one display, one holds the claim and plays;
// when it ends, however it ends (killed too), another gains the claim.

#include <QObject>

namespace vz {

class MusicClaim : public QObject
{
    Q_OBJECT
public:
    // Takes the claim if it is free, emitting gained() before returning;
    // otherwise tries again about twice a second until it gains it.
    virtual void request() = 0;
    // Gives the claim up, or stops trying for it.
    virtual void release() = 0;
    virtual bool held() const = 0;

Q_SIGNALS:
    void gained();
};

} // namespace vz
