#pragma once
// Copies are told apart by a lock file in the user's runtime folder, keyed by
// the executable's path; the first copy holds it until it ends. Windows are
// looked up on the X server named by $DISPLAY.

#include <memory>

#include "platform/Instance.h"

class QLockFile;

namespace vz {

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

} // namespace vz
