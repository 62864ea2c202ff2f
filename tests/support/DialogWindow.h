#pragma once
// One dialog of the program under test on the private X server, driven at its
// designed positions (pixels from the dialog's top-left corner) with xdotool.

#include <QPoint>
#include <QRect>
#include <QString>

#include "support/Desktop.h"

namespace vz::test {

class DialogWindow
{
public:
    explicit DialogWindow(XServer &x) : m_x(x) {}

    // Waits for a window whose title matches the regular expression and notes
    // where it lies; the pointer goes to its centre, since under a bare X
    // server the focus follows the pointer.
    bool find(const QString &title, int timeoutMs = 15000);
    QRect rect() const { return m_rect; }
    QString id() const { return m_id; }

    void moveTo(QPoint p) const;
    void click(QPoint p) const;
    void ctrlClick(QPoint p) const;
    void shiftClick(QPoint p) const;
    void doubleClick(QPoint p) const;

    // The height of a list row and where the first one starts, taken from the
    // highlight that a click on the first entry of the box leaves; rows are as
    // high as the font's line spacing plus the view's margins.
    bool measureRows(QRect box);
    // The middle of row i of a list box at the designed rectangle.
    QPoint row(QRect box, int i) const;

private:
    XServer &m_x;
    QRect m_rect;
    QString m_id;
    int m_rowTop = 2;
    int m_rowHeight = 16;
};

// Two data rows, "Cancel" and "close box", in a bool column named "closeBox".
void addCancelAndCloseBoxRows();

// Waits for a message box titled as the regular expression says and answers it
// with Enter, the pointer on it; true once it has gone.
bool answerMessage(XServer &x, const QString &title, const QString &shotName = {});

} // namespace vz::test
