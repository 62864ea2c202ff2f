#include "controls/TextBox.h"

#include <QFocusEvent>

namespace vz {

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        Q_EMIT lostFocus();
}

} // namespace vz
