#pragma once
// Access keys ("&OK": Alt+O) that work as a click does: the control takes the
// focus first, so the control that loses it can check its contents and keep
// the focus, in which case the key does nothing more. Qt's buttons would act
// on the key without moving the focus.

class QWidget;

namespace vz {

// Applies to every button and check box of the form.
void takeFocusOnAccessKeys(QWidget &form);

} // namespace vz
