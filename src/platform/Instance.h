#pragma once
// Other running copies of the program: whether one runs, and whether a top-level
// window with a given caption exists anywhere on the desktop.

#include <QString>

namespace vz {

class Instance
{
public:
    virtual ~Instance() = default;
    // True when another copy of this program (the same executable) was already
    // running when this one started.
    virtual bool prevInstance() const = 0;
    // True when a top-level window whose caption is exactly caption exists, owned
    // by any process.
    virtual bool findWindow(const QString &caption) const = 0;
};

} // namespace vz
