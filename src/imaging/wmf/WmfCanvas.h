#pragma once
// Where a metafile's records draw: the player turns records into shapes,
// text and bitmaps in device pixels, and a canvas either paints them
// (WmfPainterCanvas) or only measures where they go (WmfBoundsCanvas). The
// canvas also keeps the account of the work drawing takes.

#include "imaging/wmf/WmfDeviceContext.h"

#include <QBrush>
#include <QByteArrayView>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QVector>
#include <optional>

namespace vz::picture {

// One string of text, placed and sized in device pixels.
struct WmfTextRun
{
    QPointF origin;
    QString string;
    double pixels = 16; // font height
    double widthPixels = 0; // average character width asked for; 0 for the font's own
    // Advance after each character, when the record gives them.
    std::optional<QVector<double>> advances;
    // The rectangle given with the text, filled (ETO_OPAQUE) or clipping it (ETO_CLIPPED).
    std::optional<QRectF> box;
    int options = 0;
};

class WmfCanvas
{
public:
    virtual ~WmfCanvas() = default;

    // The part of the picture the canvas holds, in device pixels from its
    // origin; empty for a canvas that only measures.
    virtual QRectF device() const = 0;
    // Charges work; false once the budget is spent, and from then on.
    virtual bool charge(qint64 work) = 0;
    // Whether something with these device bounds, taking work beyond the
    // pixels it covers, is to be drawn; charged for.
    virtual bool admit(const QRectF &bounds, qint64 work, const WmfState &state) = 0;

    virtual void setClip(const WmfState &state) = 0;
    virtual void drawPath(const QPainterPath &path, const QPen &pen, const QBrush &brush,
                          const WmfState &state) = 0;
    virtual void fillRect(const QRectF &rect, const QBrush &brush,
                          QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver) = 0;
    virtual void drawImage(const QRectF &target, const QImage &image, QPainter::CompositionMode mode) = 0;
    // Draws text when admitted; its advance in device pixels.
    virtual double drawText(const WmfTextRun &text, const WmfState &state) = 0;
};

} // namespace vz::picture
