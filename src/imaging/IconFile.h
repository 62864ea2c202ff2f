#pragma once
// Icon files (.ico): a directory of images of several sizes. The directory's
// own sizes are not trusted; each image's size is read from its data, and
// entries whose data lies outside the file are passed over, so a damaged
// directory still yields the images that are intact.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace vz::picture {

struct IconImage
{
    int width = 0;
    int height = 0;
    int bitCount = 0;
    qsizetype offset = 0;
    qsizetype bytes = 0;
    bool png = false;
};

// The intact images of an icon file, largest first (then deepest colour).
QList<IconImage> iconImages(QByteArrayView file);

// An icon file holding that one image, for Qt's icon reader.
QByteArray singleIconFile(QByteArrayView file, const IconImage &image);

} // namespace vz::picture
