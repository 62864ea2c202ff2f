#include "imaging/wmf/WmfPainterCanvas.h"

#include "imaging/Limits.h"
#include "imaging/Logging.h"
#include "imaging/wmf/WmfFile.h"

#include <QFontMetricsF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace vz::picture {

namespace {

// Work charged for setting up a font and laying out one string.
constexpr qint64 kTextCost = 1024;


QFont deviceFont(const WmfLogicalFont &logical, double pixels, double widthPixels)
{
    QFont font(logical.face.isEmpty() ? QStringLiteral("Sans Serif") : logical.face);
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    if (logical.height > 0) {
        // A positive height is the whole cell (ascent and descent), not the em.
        const double cell = QFontMetricsF(font).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, int(std::lround(pixels * pixels / cell))));
    }
    font.setWeight(QFont::Weight(logical.weight <= 0 ? 400 : std::clamp(logical.weight, 100, 900)));
    font.setItalic(logical.italic);
    font.setUnderline(logical.underline);
    font.setStrikeOut(logical.strikeout);
    // A width asked for narrows or widens the letters from the font's own.
    const double average = widthPixels > 0 ? QFontMetricsF(font).averageCharWidth() : 0;
    if (average > 0)
        font.setStretch(std::clamp(int(std::lround(100 * widthPixels / average)), 1, 4000));
    return font;
}

} // namespace

WmfPainterCanvas::WmfPainterCanvas(QPainter &painter, const QRect &area, const CancelFlag *cancel)
    : m_painter(painter)
    , m_device(QPointF(0, 0), area.size())
    , m_budget(metafileWorkBudget(qint64(area.width()) * area.height()))
    , m_cancel(cancel)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);
    painter.setBrushOrigin(-area.topLeft());
}

WmfPainterCanvas::~WmfPainterCanvas()
{
    m_painter.setClipping(false);
}

bool WmfPainterCanvas::charge(qint64 work)
{
    if (m_stopped)
        return false;
    if (isCancelled(m_cancel)) {
        m_stopped = true;
        return false;
    }
    m_budget -= work;
    if (m_budget >= 0)
        return true;
    m_stopped = true;
    qCWarning(lcImaging, "metafile: the work budget is spent; the rest of the picture is left undrawn");
    return false;
}

bool WmfPainterCanvas::admit(const QRectF &bounds, qint64 work, const WmfState &)
{
    const QRectF visible = bounds.normalized().adjusted(-2, -2, 2, 2).intersected(m_device);
    const qint64 area = visible.isEmpty() ? 0 : qint64(visible.width() * visible.height());
    return charge(64 + work + area) && !visible.isEmpty();
}

void WmfPainterCanvas::setClip(const WmfState &state)
{
    if (state.clipped)
        m_painter.setClipRegion(state.clip);
    else
        m_painter.setClipping(false);
}

void WmfPainterCanvas::drawPath(const QPainterPath &path, const QPen &pen, const QBrush &brush,
                                const WmfState &state)
{
    m_painter.setBackgroundMode(state.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter.setBackground(state.backColor);
    m_painter.setPen(pen);
    m_painter.setBrush(brush);
    m_painter.drawPath(path);
}

void WmfPainterCanvas::fillRect(const QRectF &rect, const QBrush &brush, QPainter::CompositionMode mode)
{
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setCompositionMode(mode);
    m_painter.fillRect(rect, brush);
    m_painter.restore();
}

void WmfPainterCanvas::drawImage(const QRectF &target, const QImage &image, QPainter::CompositionMode mode)
{
    m_painter.save();
    m_painter.setCompositionMode(mode);
    // Enlarged bitmaps keep their pixels sharp, as the platform draws them;
    // reduced ones are smoothed.
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform,
                            target.width() < image.width() || target.height() < image.height());
    m_painter.drawImage(target, image);
    m_painter.restore();
}

double WmfPainterCanvas::drawText(const WmfTextRun &text, const WmfState &state)
{
    const QFont font = deviceFont(state.font, text.pixels, text.widthPixels);
    const QFontMetricsF metrics(font);
    const QString &string = text.string;
    const double total = text.advances ? std::accumulate(text.advances->begin(), text.advances->end(), 0.0)
                                       : metrics.horizontalAdvance(string);
    double left = 0;
    switch (state.textAlign & 6) {
    case 2: left = -total; break;
    case 6: left = -total / 2; break;
    default: break;
    }
    double baseline = metrics.ascent();
    switch (state.textAlign & 24) {
    case 8: baseline = -metrics.descent(); break;
    case 24: baseline = 0; break;
    default: break;
    }
    QTransform placement;
    placement.translate(text.origin.x(), text.origin.y());
    placement.rotate(-state.font.escapement / 10.0);
    const QRectF cell(left, baseline - metrics.ascent(), total, metrics.ascent() + metrics.descent());
    const QRectF bounds = placement.mapRect(cell).united(text.box.value_or(QRectF()));
    // Each glyph is filled on its own, wherever the advances put it.
    const qint64 glyphCost = std::min(qint64(text.pixels * text.pixels),
                                      qint64(m_device.width() * m_device.height()));
    if (!admit(bounds, kTextCost + string.size() * (16 + glyphCost), state))
        return total;

    const std::optional<QRectF> &box = text.box;
    m_painter.save();
    if (box && (text.options & ETO_OPAQUE))
        m_painter.fillRect(*box, state.backColor);
    if (box && (text.options & ETO_CLIPPED))
        m_painter.setClipRect(*box, state.clipped ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter.setTransform(placement);
    if (state.opaque && !(box && (text.options & ETO_OPAQUE)))
        m_painter.fillRect(cell, state.backColor);
    m_painter.setFont(font);
    m_painter.setPen(state.textColor);
    if (text.advances) {
        double at = left;
        for (qsizetype i = 0; i < string.size(); ++i) {
            m_painter.drawText(QPointF(at, baseline), QString(string[i]));
            at += (*text.advances)[i];
        }
    } else {
        m_painter.drawText(QPointF(left, baseline), string);
    }
    m_painter.restore();
    return total;
}

} // namespace vz::picture
