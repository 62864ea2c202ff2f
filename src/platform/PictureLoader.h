#pragma once
// Loads a picture from a file name: Windows bitmaps (.bmp, and .dib by content),
// JPEG, GIF (first frame), icons (the largest image) and Windows metafiles.
// An empty name gives an empty picture; anything else unreadable is an error
// with a reason.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace vz {

struct Picture {
    // The decoded pixels: the whole picture, or only the part asked for.
    QImage image;
    // The picture's natural size in pixels (after any EXIF rotation).
    QSize naturalSize;
    // Where image sits inside the whole picture (0, 0 for a whole picture).
    QPoint offset;
    // Set when the picture could not be loaded; image is then null.
    QString error;

    bool ok() const { return error.isEmpty(); }
    // An empty name loads as an empty picture: no pixels, no error.
    bool empty() const { return ok() && naturalSize.isEmpty(); }
};

class PictureLoader
{
public:
    // The whole picture.
    static Picture load(const QString &fileName);
    // Only the part of the picture that can be seen when it is centred, at its
    // natural size, on a view of the given size; pixels that would lie outside
    // the view are not decoded or held.
    static Picture loadVisible(const QString &fileName, QSize view);
};

} // namespace vz
