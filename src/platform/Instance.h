#pragma once
// Other running copies of the program: whether one runs, and whether a top-level
// window with a given caption exists anywhere on the desktop.

#include <QString>
#include <memory>

class QLockFile;

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

// Copies are told apart by a lock file in the user's runtime folder, keyed by
// the executable's path; the first copy holds it until it ends. Windows are
// looked up on the X server named by $DISPLAY.
class SystemInstance final : public Instance
{
public:
    explicit SystemInstance(const QString &executablePath);
    ~SystemInstance() override;
    bool prevInstance() const override { return m_prev; }
    bool findWindow(const QString &caption) const override;

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_prev = false;
};

// The X11 look-up on its own, for tests and for the instance check.
bool x11FindWindow(const QString &caption);

} // namespace vz
