#include "imaging/wmf/WmfBoundsCanvas.h"

namespace vz::picture {

bool WmfBoundsCanvas::admit(const QRectF &bounds, qint64, const WmfState &state)
{
    if (!m_drawn) {
        m_drawn = true;
        m_survey.unitsPerInch = state.unitsPerInch();
        if (state.windowMode() && state.hasWindow())
            m_survey.window = QRectF(state.windowOrg, state.windowExt);
    }
    m_survey.drawn |= bounds.normalized();
    return false;
}

// Without laying the text out: a cell of the font's height for each character,
// and as much again below.
double WmfBoundsCanvas::drawText(const WmfTextRun &text, const WmfState &state)
{
    const QPointF o = text.origin;
    admit(QRectF(o.x(), o.y() - text.pixels, text.string.size() * text.pixels, 2 * text.pixels), 0, state);
    return 0;
}

} // namespace vz::picture
