#pragma once
// A one-line text box that reports when the user leaves it for another control
// of the same window. Switching to another window, or opening the box's own
// context menu, is not leaving it.

#include <QLineEdit>

namespace vz {

class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

Q_SIGNALS:
    // Sent after the focus has left; the receiver may hand it back.
    void lostFocus();

protected:
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace vz
