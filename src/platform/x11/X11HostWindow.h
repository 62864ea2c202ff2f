#pragma once
// Foreign windows on the X server named by $DISPLAY, asked of the server over
// a connection of their own.

#include "platform/HostWindow.h"

namespace vz {

class X11HostWindow final : public HostWindow
{
public:
    quintptr rootWindow() const override;
    [[nodiscard]] bool embed(QWidget &widget, quintptr host) override;
};

} // namespace vz
