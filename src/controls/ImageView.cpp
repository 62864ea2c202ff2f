#include "controls/ImageView.h"

#include <QPixmap>

namespace vz {

ImageView::ImageView(QWidget *parent) : QLabel(parent)
{
    setScaledContents(true);
    setFrameShape(QFrame::NoFrame);
}

void ImageView::setPicture(const QImage &image)
{
    if (image.isNull())
        clear();
    else
        setPixmap(QPixmap::fromImage(image));
}

} // namespace vz
