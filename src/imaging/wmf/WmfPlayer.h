#pragma once
// Plays the records of a metafile: each record changes the device context or
// becomes a shape, text or bitmap in device pixels for a canvas, which paints
// it or measures where it goes.

#include "imaging/wmf/WmfCanvas.h"
#include "imaging/wmf/WmfDeviceContext.h"
#include "imaging/wmf/WmfFile.h"

#include <QPainterPath>

namespace vz::picture {

class WmfPlayer
{
public:
    // origin: the picture pixel at the canvas's top-left.
    WmfPlayer(const WmfFile &file, const WmfMapping &mapping, QPointF origin, WmfCanvas &canvas);

    void play();

private:
    void record(const WmfRecord &r);
    void createObject(const WmfRecord &r);

    QColor colorRef(quint32 v) const;
    QImage deviceBitmap(QByteArrayView bytes) const;
    QPointF map(const WmfRecord &r, qsizetype yWord, qsizetype xWord) const;
    QRectF mapRect(const WmfRecord &r, qsizetype firstWord) const; // bottom, right, top, left

    QPen devicePen(const QRectF &deviceBounds) const;
    void drawShape(const QPainterPath &path, bool fill);
    void polygon(const WmfRecord &r, bool closed);
    void polyPolygon(const WmfRecord &r);
    void arc(const WmfRecord &r, int kind);
    void roundRect(const WmfRecord &r);
    void text(double x, double y, QByteArrayView bytes, const WmfRecord *dxRecord,
              qsizetype dxWord, int options, const std::optional<QRectF> &box);
    void textOut(const WmfRecord &r);
    void extTextOut(const WmfRecord &r);
    void fillRect(const QRectF &device, quint32 rop);
    void patBlt(const WmfRecord &r, qsizetype heightWord, quint32 rop);
    void bitmap(const WmfRecord &r, quint32 rop, qsizetype dibWord, qsizetype destWord,
                qsizetype srcWord, bool srcSizeGiven, bool device);

    const WmfFile &m_file;
    WmfDeviceContext m_dc;
    WmfState &m_state;
    WmfCanvas &m_canvas;
};

} // namespace vz::picture
