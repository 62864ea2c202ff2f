#pragma once
// The cursor of the running window system, through Qt: below 0 the program's
// windows show a blank cursor.

#include "platform/Cursor.h"

namespace vz {

class SystemCursor final : public Cursor
{
public:
    SystemCursor() = default;
    ~SystemCursor() override;
    SystemCursor(const SystemCursor &) = delete;
    SystemCursor &operator=(const SystemCursor &) = delete;
    std::int16_t showCursor(bool show) override;
    QPoint pos() const override;
    void setPos(QPoint screenPos) override;

private:
    std::int16_t m_counter = 0;
    bool m_blank = false;
};

} // namespace vz
