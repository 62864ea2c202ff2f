#pragma once
// Windows of other programs that the show can draw into.

#include <QtGlobal>

class QWidget;

namespace vz {

// The root window of the default screen; 0 without a display.
quintptr rootWindow();

// Makes widget a child of the foreign window host, covering it. False when the
// host window does not exist.
bool embedInto(QWidget &widget, quintptr host);

} // namespace vz
