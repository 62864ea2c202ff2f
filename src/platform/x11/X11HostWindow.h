#pragma once
// Foreign windows on the X server named by $DISPLAY, asked of the server over
// a connection of their own; the windows taken are watched for their end.

#include "platform/HostWindow.h"

namespace vz {

class DestroyWatch;

class X11HostWindow final : public HostWindow
{
public:
    quintptr rootWindow() const override;
    [[nodiscard]] bool embed(QWidget &widget, quintptr host) override;

private:
    DestroyWatch *m_watch = nullptr; // made with the first embedding
};

} // namespace vz
