#include "support/MessageBoxCatcher.h"

#include <QAbstractButton>
#include <QApplication>

namespace vz::test {

MessageBoxCatcher::MessageBoxCatcher()
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::poll);
    m_timer.start(5);
}

void MessageBoxCatcher::poll()
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

} // namespace vz::test
