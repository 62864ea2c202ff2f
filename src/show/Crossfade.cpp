#include "show/Crossfade.h"

#include <QPainter>
#include <QScreen>

namespace vz {

Crossfade::Crossfade(QWidget *parent) : QWidget(parent)
{
    // It paints every pixel, so nothing under it is painted during the fade;
    // input goes to the show under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, [this] {
        if (m_clock.elapsed() >= m_ms)
            finish();
        else
            update();
    });
    hide();
}

void Crossfade::start(QPixmap from, QPixmap to, int ms)
{
    m_from = std::move(from);
    m_to = std::move(to);
    m_ms = ms;
    const qreal hz = screen() && screen()->refreshRate() > 1 ? screen()->refreshRate() : 60.0;
    m_frames.start(qMax(1, qRound(1000.0 / hz)));
    m_clock.start();
    setGeometry(parentWidget()->rect());
    raise();
    show();
}

void Crossfade::finish()
{
    m_frames.stop();
    hide();
    m_from = m_to = QPixmap();
}

void Crossfade::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter p(this);
    p.drawPixmap(0, 0, m_from);
    p.setOpacity(std::clamp(qreal(m_clock.elapsed()) / qMax(m_ms, 1), 0.0, 1.0));
    p.drawPixmap(0, 0, m_to);
}

} // namespace vz
