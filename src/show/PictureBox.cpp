#include "show/PictureBox.h"

#include <QPainter>
#include <QPaintEvent>

namespace vz {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::setPicture(Picture picture)
{
    m_picture = std::move(picture);
    // Pictures are shown one picture pixel to one screen pixel, also on screens
    // that scale logical pixels.
    const qreal ratio = devicePixelRatioF();
    m_picture.image.setDevicePixelRatio(ratio);
    // An empty picture (an empty list entry) has no size: the box shrinks to nothing.
    resize((QSizeF(m_picture.naturalSize) / ratio).toSize().expandedTo(QSize(0, 0)));
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    if (m_picture.image.isNull())
        return;
    QPainter p(this);
    const qreal ratio = m_picture.image.devicePixelRatio();
    p.drawImage(QPointF(m_picture.offset) / ratio, m_picture.image);
    Q_UNUSED(event);
}

} // namespace vz
