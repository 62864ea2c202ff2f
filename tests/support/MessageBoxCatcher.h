#pragma once
// Answers the program's real message boxes in in-process tests: each box that
// appears is recorded (text, icon) and closed with its OK button.

#include <QMessageBox>
#include <QObject>
#include <QTimer>
#include <vector>

namespace vz::test {

struct CaughtBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

class MessageBoxCatcher : public QObject
{
public:
    MessageBoxCatcher();
    const std::vector<CaughtBox> &boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }

private:
    void poll();
    QTimer m_timer;
    std::vector<CaughtBox> m_boxes;
};

} // namespace vz::test
