#pragma once
// The show's picture box: takes the natural size of its picture and paints the
// part of it that was decoded, where it lies in the whole picture.

#include <QWidget>

#include "imaging/PictureLoader.h"

namespace vz {

class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent);
    // Sets the picture; the box resizes to the picture's natural size at its
    // current top-left corner.
    void setPicture(Picture picture);
    const Picture &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
};

} // namespace vz
