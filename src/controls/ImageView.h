#pragma once
// An image view that stretches its picture to fill the whole box, width and
// height independently: proportions are not kept and the box never changes size.

#include <QImage>
#include <QLabel>

namespace vz {

class ImageView : public QLabel
{
    Q_OBJECT
public:
    explicit ImageView(QWidget *parent = nullptr);

    // Shows the picture; a null image leaves the box empty.
    void setPicture(const QImage &image);
};

} // namespace vz
