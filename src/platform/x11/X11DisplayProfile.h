#pragma once
// Monitor profiles from the root window of $DISPLAY, by the ICC Profiles in
// X convention: _ICC_PROFILE for the first monitor, _ICC_PROFILE_n for the
// n-th after it. Read afresh at each call, as a colour manager may change
// them at any time.

#include "platform/DisplayProfile.h"

namespace vz {

class X11DisplayProfile final : public DisplayProfile
{
public:
    QByteArray iccProfile(int monitor) const override;
};

} // namespace vz
