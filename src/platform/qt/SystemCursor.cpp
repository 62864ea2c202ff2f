#include "platform/qt/SystemCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace vz {

SystemCursor::~SystemCursor()
{
    if (m_blank && QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}

std::int16_t SystemCursor::showCursor(bool show)
{
    // The counter saturates instead of wrapping, so no run of calls can make a
    // hidden cursor visible by overflow.
    if (show && m_counter < INT16_MAX)
        ++m_counter;
    else if (!show && m_counter > INT16_MIN)
        --m_counter;
    const bool blank = m_counter < 0;
    if (blank != m_blank) {
        if (blank)
            QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
        else
            QGuiApplication::restoreOverrideCursor();
        m_blank = blank;
    }
    return m_counter;
}

QPoint SystemCursor::pos() const { return QCursor::pos(); }

void SystemCursor::setPos(QPoint screenPos) { QCursor::setPos(screenPos); }

} // namespace vz
