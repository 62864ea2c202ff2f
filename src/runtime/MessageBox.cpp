#include "runtime/MessageBox.h"

#include <QMessageBox>

#include "runtime/Program.h"

namespace vz {

void msgBox(QWidget *owner, const QString &text, MsgIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    if (icon == MsgIcon::Information)
        qtIcon = QMessageBox::Information;
    else if (icon == MsgIcon::Critical)
        qtIcon = QMessageBox::Critical;
    // A hidden owner (the show's data holder) cannot carry a modal box.
    QWidget *parent = owner && owner->isVisible() ? owner : nullptr;
    QMessageBox box(qtIcon, kAppTitle, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("vzMessageBox"));
    box.exec();
}

} // namespace vz
