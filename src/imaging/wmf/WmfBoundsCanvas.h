#pragma once
// A canvas that draws nothing and collects where the drawing goes, for plain
// metafiles, whose size must come from their content (played with a mapping
// without a view, so in logical units).

#include "imaging/wmf/WmfCanvas.h"

namespace vz::picture {

struct WmfSurvey
{
    // Where the drawing goes before any extent applies (see WmfMapping).
    QRectF drawn;
    // The window in force at the first drawing, when it had an extent.
    std::optional<QRectF> window;
    // Logical units per inch of the map mode at the first drawing, 0 when the
    // map mode has no physical unit.
    int unitsPerInch = 0;
};

class WmfBoundsCanvas final : public WmfCanvas
{
public:
    WmfSurvey survey() const { return m_survey; }

    QRectF device() const override { return {}; }
    bool charge(qint64) override { return true; }
    bool admit(const QRectF &bounds, qint64 work, const WmfState &state) override;
    void setClip(const WmfState &) override {}
    void drawPath(const QPainterPath &, const QPen &, const QBrush &, const WmfState &) override {}
    void fillRect(const QRectF &, const QBrush &, QPainter::CompositionMode) override {}
    void drawImage(const QRectF &, const QImage &, QPainter::CompositionMode) override {}
    double drawText(const WmfTextRun &text, const WmfState &state) override;

private:
    WmfSurvey m_survey;
    bool m_drawn = false;
};

} // namespace vz::picture
