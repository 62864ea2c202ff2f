#pragma once
// A canvas that paints onto a QPainter, antialiased, within a budget of work
// (see metafileWorkBudget() in imaging/Limits.h): once it is spent, the rest
// of the metafile is left undrawn, so no file can make drawing take absurd
// time.

#include "imaging/Cancel.h"
#include "imaging/wmf/WmfCanvas.h"

namespace vz::picture {

class WmfPainterCanvas final : public WmfCanvas
{
public:
    // painter draws onto a device that holds the part area of the picture.
    // Drawing also stops once *cancel is set.
    WmfPainterCanvas(QPainter &painter, const QRect &area, const CancelFlag *cancel = nullptr);
    ~WmfPainterCanvas() override;

    QRectF device() const override { return m_device; }
    bool charge(qint64 work) override;
    bool admit(const QRectF &bounds, qint64 work, const WmfState &state) override;
    void setClip(const WmfState &state) override;
    void drawPath(const QPainterPath &path, const QPen &pen, const QBrush &brush,
                  const WmfState &state) override;
    void fillRect(const QRectF &rect, const QBrush &brush, QPainter::CompositionMode mode) override;
    void drawImage(const QRectF &target, const QImage &image, QPainter::CompositionMode mode) override;
    double drawText(const WmfTextRun &text, const WmfState &state) override;

private:
    QPainter &m_painter;
    QRectF m_device;
    qint64 m_budget;
    const CancelFlag *m_cancel;
    bool m_stopped = false;
};

} // namespace vz::picture
