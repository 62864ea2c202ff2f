#pragma once
// Answers the program's real message boxes in in-process tests: each box that
// appears is recorded (title, text, icon) and closed with its OK button.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <vector>

namespace vz::test {

struct CaughtBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

class MessageBoxCatcher
{
public:
    MessageBoxCatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    const std::vector<CaughtBox> &boxes() const { return m_boxes; }

private:
    void poll()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->isVisible() || box->property("vzCaught").toBool())
                continue;
            box->setProperty("vzCaught", true);
            m_boxes.push_back({box->windowTitle(), box->text(), box->icon()});
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->accept();
        }
    }

    QTimer m_timer;
    std::vector<CaughtBox> m_boxes;
};

} // namespace vz::test
