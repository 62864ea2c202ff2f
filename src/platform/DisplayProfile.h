#pragma once
// The colour profile of a monitor, as the desktop's colour manager (colord,
// a calibration tool) publishes it: ICC bytes that PictureLoader converts
// pictures to.

#include <QByteArray>

namespace vz {

class DisplayProfile
{
public:
    virtual ~DisplayProfile() = default;
    // The ICC profile of the monitor numbered monitor (0 for the first, in
    // the order the window system lists them); empty when it has none.
    virtual QByteArray iccProfile(int monitor) const = 0;
};

} // namespace vz
