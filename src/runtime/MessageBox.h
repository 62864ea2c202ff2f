#pragma once
// Message boxes: a fixed text, one OK button, the application title as title,
// modal to the form that shows it; returns when the user closes it.

#include <QString>

class QWidget;

namespace vz {

enum class MsgIcon { None, Information, Critical };

void msgBox(QWidget *owner, const QString &text, MsgIcon icon = MsgIcon::None);

} // namespace vz
