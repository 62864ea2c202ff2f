#pragma once
// Check boxes hold 0 (clear), 1 (ticked) or 2 (grayed) in the program's terms,
// which is how the random switches are stored; Qt orders its states otherwise.

#include <Qt>

namespace vz {

inline Qt::CheckState toCheckState(int value)
{
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

inline int checkValue(Qt::CheckState state)
{
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

} // namespace vz
