#include "controls/AccessKeys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QWidget>

namespace vz {

namespace {

class FocusFirst : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        auto *control = static_cast<QWidget *>(watched);
        if (control->hasFocus() || control->focusPolicy() == Qt::NoFocus)
            return false;
        control->setFocus(Qt::ShortcutFocusReason);
        // Still without the focus (or disabled meanwhile): the key is spent.
        return !control->hasFocus() || !control->isEnabled();
    }
};

} // namespace

void takeFocusOnAccessKeys(QWidget &form)
{
    auto *filter = new FocusFirst(&form);
    for (QAbstractButton *button : form.findChildren<QAbstractButton *>())
        button->installEventFilter(filter);
}

} // namespace vz
