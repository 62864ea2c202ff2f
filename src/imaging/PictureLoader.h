#pragma once
// Loads a picture from a file name: Windows bitmaps (.bmp, and .dib by content),
// JPEG (EXIF orientation applied), GIF (first frame), icons (the largest image),
// Windows metafiles, PNG, WebP and TIFF (EXIF orientation applied, first frame)
// and HEIF/AVIF (the primary image, its transforms applied). The format is told by the content, not the name. An
// empty name gives an empty picture; anything else unreadable is an error with
// a reason. Hostile files are refused with a reason rather than decoded at any
// cost (see imaging/Limits.h).
//
// Colours come out for the screen: numbers that a file gives in a colour
// space of its own (an ICC profile, HEIF's nclx, PNG's chromaticities) are
// converted to screenProfile, the ICC profile of the screen the picture is
// shown on (see platform/DisplayProfile.h), or to sRGB when it is empty.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "imaging/Cancel.h"

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
    static Picture load(const QString &fileName, const QByteArray &screenProfile = {});
    // Only the part of the picture that can be seen when it is centred, at its
    // natural size, on a view of the given size; pixels that would lie outside
    // the view are not decoded or held. That part is visibleRect().
    // screenProfile: the ICC profile of the screen the picture is shown on
    // (empty: sRGB). A decode for the show may be given up: see Cancel.h.
    static Picture loadVisible(const QString &fileName, QSize view, const QByteArray &screenProfile = {},
                               const picture::CancelFlag *cancel = nullptr);

    // The part of a picture of the given natural size that shows when it is
    // centred on the view, in the picture's own pixels. When the free space
    // is odd the centre falls on a half pixel, which a window system may round
    // either way, so the part then takes one pixel more.
    static QRect visibleRect(QSize naturalSize, QSize view);

    // The whole picture, scaled down smoothly to fit inside the screen with its
    // proportions kept when it is larger than the screen in either direction;
    // a picture that fits is left as it is. The result's natural size is the
    // size it is shown at. A JPEG is decoded at the smallest fraction of its
    // size that still covers that.
    static Picture loadFitted(const QString &fileName, QSize screen, const QByteArray &screenProfile = {},
                              const picture::CancelFlag *cancel = nullptr);
    // The size a picture of the given natural size is shown at by loadFitted().
    static QSize fittedSize(QSize naturalSize, QSize screen);

    // The whole picture stretched smoothly over box, width and height on their
    // own, as a preview shows it; decoded no larger than the box needs where
    // the format allows. Its natural size is box.
    static Picture loadPreview(const QString &fileName, QSize box, const QByteArray &screenProfile = {});
};

} // namespace vz
