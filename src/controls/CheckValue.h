#pragma once
// A check box's value as the settings store it: 0 clear, 1 ticked, 2 grayed.

class QCheckBox;

namespace vz {

int checkValue(const QCheckBox &box);
// Values outside 0..2 leave the box as it is.
void setCheckValue(QCheckBox &box, int value);

} // namespace vz
