#include "runtime/Form.h"

#include <QCloseEvent>
#include <QScreen>
#include <QStyle>

#include "runtime/Program.h"

namespace vz {

Form::Form(Program &program) : QWidget(nullptr), m_program(program)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

void Form::makeFixedDialog(qreal pointSize)
{
    if (pointSize > 0) {
        QFont designed = font();
        designed.setPointSizeF(pointSize);
        setFont(designed);
    }
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    m_centreOnShow = true;
}

void Form::showEvent(QShowEvent *event)
{
    // Centred the first time; afterwards it stays where the user left it.
    if (m_centreOnShow) {
        m_centreOnShow = false;
        if (const QScreen *s = screen())
            setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), s->availableGeometry()));
    }
    QWidget::showEvent(event);
}

void Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_program.unload(this);
}

} // namespace vz
