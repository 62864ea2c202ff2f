#pragma once
// The mouse cursor: a display counter with the classic semantics (the cursor is
// visible while the counter is 0 or more) and the cursor's screen position.

#include <QPoint>
#include <cstdint>

namespace vz {

class Cursor
{
public:
    virtual ~Cursor() = default;
    // Raises (show) or lowers (hide) the display counter by one and returns the
    // new value. Crossing between 0 and -1 shows or blanks the cursor over the
    // program's windows.
    virtual std::int16_t showCursor(bool show) = 0;
    virtual QPoint pos() const = 0;
    virtual void setPos(QPoint screenPos) = 0;
};

} // namespace vz
