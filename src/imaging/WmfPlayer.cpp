#include "imaging/WmfPlayer.h"

#include "imaging/Dib.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace vz::picture {

namespace {

// Record functions.
enum : quint16 {
    SAVEDC = 0x001E, REALIZEPALETTE = 0x0035, SETPALENTRIES = 0x0037, CREATEPALETTE = 0x00F7,
    SETBKMODE = 0x0102, SETMAPMODE = 0x0103, SETROP2 = 0x0104, SETRELABS = 0x0105,
    SETPOLYFILLMODE = 0x0106, SETSTRETCHBLTMODE = 0x0107, SETTEXTCHAREXTRA = 0x0108,
    RESTOREDC = 0x0127, INVERTREGION = 0x012A, PAINTREGION = 0x012B, SELECTCLIPREGION = 0x012C,
    SELECTOBJECT = 0x012D, SETTEXTALIGN = 0x012E, DIBCREATEPATTERNBRUSH = 0x0142,
    DELETEOBJECT = 0x01F0, CREATEPATTERNBRUSH = 0x01F9,
    SETBKCOLOR = 0x0201, SETTEXTCOLOR = 0x0209, SETTEXTJUSTIFICATION = 0x020A,
    SETWINDOWORG = 0x020B, SETWINDOWEXT = 0x020C, SETVIEWPORTORG = 0x020D, SETVIEWPORTEXT = 0x020E,
    OFFSETWINDOWORG = 0x020F, OFFSETVIEWPORTORG = 0x0211, LINETO = 0x0213, MOVETO = 0x0214,
    OFFSETCLIPRGN = 0x0220, FILLREGION = 0x0228, SETMAPPERFLAGS = 0x0231, SELECTPALETTE = 0x0234,
    CREATEPENINDIRECT = 0x02FA, CREATEFONTINDIRECT = 0x02FB, CREATEBRUSHINDIRECT = 0x02FC,
    POLYGON = 0x0324, POLYLINE = 0x0325, SCALEWINDOWEXT = 0x0410, SCALEVIEWPORTEXT = 0x0412,
    EXCLUDECLIPRECT = 0x0415, INTERSECTCLIPRECT = 0x0416, ELLIPSE = 0x0418, FLOODFILL = 0x0419,
    RECTANGLE = 0x041B, SETPIXEL = 0x041F, FRAMEREGION = 0x0429, ANIMATEPALETTE = 0x0436,
    TEXTOUT = 0x0521, POLYPOLYGON = 0x0538, EXTFLOODFILL = 0x0548, ROUNDRECT = 0x061C,
    PATBLT = 0x061D, ESCAPE = 0x0626, CREATEREGION = 0x06FF, ARC = 0x0817, PIE = 0x081A,
    CHORD = 0x0830, BITBLT = 0x0922, DIBBITBLT = 0x0940, EXTTEXTOUT = 0x0A32,
    STRETCHBLT = 0x0B23, DIBSTRETCHBLT = 0x0B41, SETDIBTODEV = 0x0D33, STRETCHDIB = 0x0F43,
};

constexpr int kMaxObjects = 4096;
constexpr int kMaxSavedStates = 256;
constexpr int kMaxClipRects = 1024;
constexpr double kMaxFontPixels = 2048;
constexpr qint64 kMaxDibPixels = 16LL * 1024 * 1024;
// Work charged for setting up a font and laying out one string.
constexpr qint64 kTextCost = 1024;
// Keeps device coordinates well inside what the rasteriser handles.
constexpr double kCoordinateLimit = 1 << 18;

constexpr int ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004;
constexpr int TA_UPDATECP = 0x0001;
constexpr int R2_BLACK = 1, R2_NOP = 11, R2_WHITE = 16;

QColor colorRef(quint32 v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int unitsPerInch(int mapMode)
{
    switch (mapMode) {
    case 2: return 254;   // 0.1 mm
    case 3: return 2540;  // 0.01 mm
    case 4: return 100;   // 0.01 inch
    case 5: return 1000;  // 0.001 inch
    case 6: return 1440;  // twips
    default: return 0;
    }
}

double clampCoordinate(double v)
{
    if (!std::isfinite(v))
        return 0;
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

QPainter::CompositionMode blitMode(quint32 rop)
{
    switch ((rop >> 16) & 0xFF) {
    case 0x88: return QPainter::RasterOp_SourceAndDestination;  // SRCAND
    case 0xEE: return QPainter::RasterOp_SourceOrDestination;   // SRCPAINT
    case 0x66: return QPainter::RasterOp_SourceXorDestination;  // SRCINVERT
    case 0x33: return QPainter::RasterOp_NotSource;             // NOTSRCCOPY
    case 0x44: return QPainter::RasterOp_SourceAndNotDestination; // SRCERASE
    case 0xBB: return QPainter::RasterOp_NotSourceOrDestination; // MERGEPAINT
    case 0x11: return QPainter::RasterOp_NotSourceAndNotDestination; // NOTSRCERASE
    default: return QPainter::CompositionMode_SourceOver;        // SRCCOPY and the rest
    }
}

Qt::BrushStyle hatch(int style)
{
    switch (style) {
    case 0: return Qt::HorPattern;
    case 1: return Qt::VerPattern;
    case 2: return Qt::FDiagPattern;
    case 3: return Qt::BDiagPattern;
    case 4: return Qt::CrossPattern;
    case 5: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

} // namespace

WmfPlayer::WmfPlayer(const WmfFile &file, const WmfMapping &mapping)
    : m_file(file)
    , m_mapping(mapping)
{
}

void WmfPlayer::play(QPainter &painter, const QRect &area)
{
    m_painter = &painter;
    m_device = QRectF(QPointF(0, 0), area.size());
    m_areaOffset = area.topLeft();
    // Enough for every pixel to be painted over many times.
    m_budget = 32 * qint64(area.width()) * area.height() + 16 * 1024 * 1024;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);
    painter.setBrushOrigin(-m_areaOffset);
    run();
    m_painter = nullptr;
}

WmfSurvey WmfPlayer::survey()
{
    m_survey = WmfSurvey();
    m_survey->unitsPerInch = -1;
    m_budget = std::numeric_limits<qint64>::max();
    const WmfMapping saved = m_mapping;
    m_mapping = WmfMapping();
    run();
    m_mapping = saved;
    WmfSurvey result = *m_survey;
    if (result.unitsPerInch < 0)
        result.unitsPerInch = 0;
    m_survey.reset();
    return result;
}

void WmfPlayer::run()
{
    m_dc = Dc();
    if (m_mapping.initialWindow && !m_survey) {
        m_dc.windowOrg = m_mapping.initialWindow->topLeft();
        m_dc.windowExt = m_mapping.initialWindow->size();
    }
    m_saved.clear();
    m_objects.clear();
    m_objects.resize(std::clamp(m_file.objectCount(), 1, kMaxObjects));
    m_freeSlots.clear();
    for (int i = 0; i < m_objects.size(); ++i)
        m_freeSlots.insert(m_freeSlots.end(), i);
    m_stopped = false;
    WmfFile::Cursor cursor = m_file.records();
    WmfRecord r;
    while (!m_stopped && cursor.next(r)) {
        m_budget -= 16;
        if (m_budget < 0)
            break;
        record(r);
    }
    if (m_painter)
        m_painter->setClipping(false);
}

// --- coordinates ---------------------------------------------------------

bool WmfPlayer::usesWindow() const
{
    if (m_survey || m_dc.windowExt.width() == 0 || m_dc.windowExt.height() == 0)
        return false;
    return m_mapping.anisotropic || m_dc.mapMode == 7 || m_dc.mapMode == 8;
}

double WmfPlayer::scaleX() const
{
    if (usesWindow())
        return m_mapping.viewSize.width() / m_dc.windowExt.width();
    return m_mapping.unitScale;
}

double WmfPlayer::scaleY() const
{
    if (usesWindow())
        return m_mapping.viewSize.height() / m_dc.windowExt.height();
    return unitsPerInch(m_dc.mapMode) ? -m_mapping.unitScale : m_mapping.unitScale;
}

QPointF WmfPlayer::map(double x, double y) const
{
    double dx, dy;
    if (usesWindow()) {
        dx = (x - m_dc.windowOrg.x()) * scaleX();
        dy = (y - m_dc.windowOrg.y()) * scaleY();
    } else {
        const double flip = unitsPerInch(m_dc.mapMode) ? -1 : 1;
        dx = ((x - m_dc.windowOrg.x()) - m_mapping.base.x()) * m_mapping.unitScale;
        dy = (flip * (y - m_dc.windowOrg.y()) - m_mapping.base.y()) * m_mapping.unitScale;
    }
    return QPointF(clampCoordinate(dx - m_areaOffset.x()), clampCoordinate(dy - m_areaOffset.y()));
}

QPointF WmfPlayer::map(const WmfRecord &r, qsizetype yWord, qsizetype xWord) const
{
    return map(r.i16(xWord), r.i16(yWord));
}

QRectF WmfPlayer::mapRect(const WmfRecord &r, qsizetype firstWord) const
{
    const QPointF bottomRight = map(r, firstWord, firstWord + 1);
    const QPointF topLeft = map(r, firstWord + 2, firstWord + 3);
    return QRectF(topLeft, bottomRight).normalized();
}

// --- state -----------------------------------------------------------------

// A new object takes the lowest free slot, as the platform numbers them.
void WmfPlayer::createObject(Object object)
{
    if (!m_freeSlots.empty()) {
        m_objects[*m_freeSlots.begin()] = std::move(object);
        m_freeSlots.erase(m_freeSlots.begin());
    } else if (m_objects.size() < kMaxObjects) {
        m_objects.append(std::move(object));
    }
}

void WmfPlayer::deleteObject(int index)
{
    if (index < m_objects.size() && m_objects[index].kind != Object::Empty) {
        m_objects[index] = Object();
        m_freeSlots.insert(index);
    }
}

void WmfPlayer::selectObject(int index)
{
    if (index < 0 || index >= m_objects.size())
        return;
    const Object &o = m_objects[index];
    switch (o.kind) {
    case Object::Pen: m_dc.pen = o.pen; break;
    case Object::Brush: m_dc.brush = o.brush; break;
    case Object::Font: m_dc.font = o.font; break;
    default: break;
    }
}

void WmfPlayer::restoreDc(int which)
{
    const qsizetype index = which < 0 ? m_saved.size() + which : qsizetype(which) - 1;
    if (index < 0 || index >= m_saved.size())
        return;
    m_dc = m_saved[index];
    m_saved.resize(index);
    applyClip();
}

void WmfPlayer::applyClip()
{
    if (!m_painter)
        return;
    if (m_dc.clipped)
        m_painter->setClipRegion(m_dc.clip);
    else
        m_painter->setClipping(false);
}

void WmfPlayer::setClip(const QRectF &device, bool exclude)
{
    if (m_survey)
        return;
    m_budget -= 64 + 16 * qint64(m_dc.clip.rectCount());
    const QRegion rect(device.toAlignedRect());
    const QRegion current = m_dc.clipped ? m_dc.clip : QRegion(m_device.toAlignedRect());
    const QRegion next = exclude ? current.subtracted(rect) : current.intersected(rect);
    if (next.rectCount() > kMaxClipRects)
        return;
    m_dc.clip = next;
    m_dc.clipped = true;
    applyClip();
}

// --- drawing ---------------------------------------------------------------

bool WmfPlayer::spend(const QRectF &bounds, qint64 extra)
{
    if (m_stopped)
        return false;
    if (m_survey) {
        if (m_survey->unitsPerInch < 0) {
            m_survey->unitsPerInch = unitsPerInch(m_dc.mapMode);
            if ((m_dc.mapMode == 7 || m_dc.mapMode == 8) && m_dc.windowExt.width() != 0
                && m_dc.windowExt.height() != 0)
                m_survey->window = QRectF(m_dc.windowOrg, m_dc.windowExt);
        }
        m_survey->drawn |= bounds.normalized();
        return false;
    }
    const QRectF visible = bounds.normalized().adjusted(-2, -2, 2, 2).intersected(m_device);
    m_budget -= 64 + extra;
    if (!visible.isEmpty())
        m_budget -= qint64(visible.width() * visible.height());
    if (m_budget < 0) {
        m_stopped = true;
        return false;
    }
    return !visible.isEmpty();
}

QPen WmfPlayer::devicePen(const QRectF &bounds) const
{
    const LogicalPen &logical = m_dc.pen;
    const int style = logical.style & 0x0F;
    if (style == 5 || m_dc.rop2 == R2_NOP)
        return Qt::NoPen;
    QColor color = logical.color;
    if (m_dc.rop2 == R2_BLACK)
        color = Qt::black;
    else if (m_dc.rop2 == R2_WHITE)
        color = Qt::white;
    const double width = std::min(logical.width * std::abs(scaleX()),
                                  2 * std::max(m_device.width(), m_device.height()));
    QPen pen(color);
    pen.setWidthF(std::max(1.0, width));
    // Only thin lines are dashed, and never across an absurd length.
    const bool dashable = width <= 1
        && bounds.width() + bounds.height() <= 8 * (m_device.width() + m_device.height());
    if (dashable) {
        switch (style) {
        case 1: pen.setStyle(Qt::DashLine); break;
        case 2: pen.setStyle(Qt::DotLine); break;
        case 3: pen.setStyle(Qt::DashDotLine); break;
        case 4: pen.setStyle(Qt::DashDotDotLine); break;
        default: break;
        }
    }
    switch (logical.style & 0x0F00) {
    case 0x0100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x0200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (logical.style & 0xF000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

void WmfPlayer::drawShape(const QPainterPath &shape, bool fill)
{
    const QRectF bounds = shape.controlPointRect();
    const QPen pen = devicePen(bounds);
    const double margin = pen.style() == Qt::NoPen ? 0 : pen.widthF();
    if (!spend(bounds.adjusted(-margin, -margin, margin, margin), shape.elementCount()))
        return;
    QBrush brush = fill && m_dc.rop2 != R2_NOP ? m_dc.brush : QBrush(Qt::NoBrush);
    if (brush.style() != Qt::NoBrush && m_dc.rop2 == R2_BLACK)
        brush = QBrush(Qt::black);
    else if (brush.style() != Qt::NoBrush && m_dc.rop2 == R2_WHITE)
        brush = QBrush(Qt::white);
    QPainterPath path = shape;
    path.setFillRule(m_dc.fillRule);
    m_painter->setBackgroundMode(m_dc.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter->setBackground(m_dc.backColor);
    m_painter->setPen(pen);
    m_painter->setBrush(brush);
    m_painter->drawPath(path);
}

void WmfPlayer::drawLines(const QPainterPath &path)
{
    drawShape(path, false);
}

void WmfPlayer::polygon(const WmfRecord &r, bool closed)
{
    const qsizetype count = r.u16(0);
    if (count < 2 || 1 + 2 * count > r.words)
        return;
    QPolygonF points;
    points.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        points.append(map(r, 2 + 2 * i, 1 + 2 * i));
    QPainterPath path;
    path.addPolygon(points);
    if (closed) {
        path.closeSubpath();
        drawShape(path, true);
    } else {
        drawLines(path);
    }
}

void WmfPlayer::polyPolygon(const WmfRecord &r)
{
    const qsizetype polygons = r.u16(0);
    if (polygons == 0 || 1 + polygons > r.words)
        return;
    qsizetype total = 0;
    for (qsizetype i = 0; i < polygons; ++i)
        total += r.u16(1 + i);
    qsizetype at = 1 + polygons;
    if (at + 2 * total > r.words)
        return;
    QPainterPath path;
    for (qsizetype i = 0; i < polygons; ++i) {
        const qsizetype count = r.u16(1 + i);
        QPolygonF points;
        points.reserve(count);
        for (qsizetype k = 0; k < count; ++k, at += 2)
            points.append(map(r, at + 1, at));
        if (count >= 2) {
            path.addPolygon(points);
            path.closeSubpath();
        }
    }
    drawShape(path, true);
}

void WmfPlayer::arc(const WmfRecord &r, int kind)
{
    const QRectF box = mapRect(r, 4);
    const QPointF start = map(r, 2, 3);
    const QPointF end = map(r, 0, 1);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / std::numbers::pi;
    };
    // Arcs run counterclockwise on the screen from the start radial to the end radial.
    const double a0 = angle(start);
    double sweep = std::fmod(angle(end) - a0 + 720, 360.0);
    if (sweep <= 1e-9)
        sweep = 360;
    QPainterPath path;
    if (kind == PIE) {
        path.moveTo(c);
        path.arcTo(box, a0, sweep);
        path.closeSubpath();
        drawShape(path, true);
    } else {
        path.arcMoveTo(box, a0);
        path.arcTo(box, a0, sweep);
        if (kind == CHORD) {
            path.closeSubpath();
            drawShape(path, true);
        } else {
            drawLines(path);
        }
    }
}

void WmfPlayer::roundRect(const WmfRecord &r)
{
    const QRectF box = mapRect(r, 2);
    const double rx = std::min(std::abs(r.i16(1) * scaleX()) / 2, box.width() / 2);
    const double ry = std::min(std::abs(r.i16(0) * scaleY()) / 2, box.height() / 2);
    QPainterPath path;
    path.addRoundedRect(box, rx, ry, Qt::AbsoluteSize);
    drawShape(path, true);
}

void WmfPlayer::text(double x, double y, QByteArrayView bytes, const WmfRecord *dxRecord,
                     qsizetype dxWord, int options, const std::optional<QRectF> &box)
{
    const LogicalFont &logical = m_dc.font;
    const bool updatePosition = m_dc.textAlign & TA_UPDATECP;
    const QPointF origin = updatePosition ? map(m_dc.position.x(), m_dc.position.y()) : map(x, y);
    const QString string = QString::fromLatin1(bytes.data(), bytes.size());
    const double sy = std::abs(scaleY()), sx = std::abs(scaleX());
    double pixels = logical.height < 0 ? -logical.height * sy : logical.height * sy;
    if (logical.height == 0 || !std::isfinite(pixels))
        pixels = 16;
    pixels = std::clamp(pixels, 1.0, kMaxFontPixels);

    if (m_survey) {
        spend(QRectF(origin.x(), origin.y() - pixels, string.size() * pixels, 2 * pixels), 0);
        return;
    }

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
    const QFontMetricsF metrics(font);

    QVector<double> advances;
    double total = 0;
    const bool spaced = dxRecord && dxWord + string.size() <= dxRecord->words;
    if (spaced) {
        advances.reserve(string.size());
        for (qsizetype i = 0; i < string.size(); ++i) {
            advances.append(dxRecord->i16(dxWord + i) * sx);
            total += advances.last();
        }
    } else {
        total = metrics.horizontalAdvance(string);
    }
    double left = 0;
    switch (m_dc.textAlign & 6) {
    case 2: left = -total; break;
    case 6: left = -total / 2; break;
    default: break;
    }
    double baseline = metrics.ascent();
    switch (m_dc.textAlign & 24) {
    case 8: baseline = -metrics.descent(); break;
    case 24: baseline = 0; break;
    default: break;
    }
    QTransform placement;
    placement.translate(origin.x(), origin.y());
    placement.rotate(-logical.escapement / 10.0);
    const QRectF cell(left, baseline - metrics.ascent(), total, metrics.ascent() + metrics.descent());
    const QRectF bounds = placement.mapRect(cell).united(box.value_or(QRectF()));
    if (updatePosition && sx > 0)
        m_dc.position.rx() += (m_dc.textAlign & 6) == 2 ? 0 : total / scaleX();
    // Each glyph is filled on its own, wherever the advances put it.
    const qint64 glyphCost = std::min(qint64(pixels * pixels), qint64(m_device.width() * m_device.height()));
    if (!spend(bounds, kTextCost + string.size() * (16 + glyphCost)))
        return;

    m_painter->save();
    if (box && (options & ETO_OPAQUE))
        m_painter->fillRect(*box, m_dc.backColor);
    if (box && (options & ETO_CLIPPED))
        m_painter->setClipRect(*box, m_dc.clipped ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter->setTransform(placement);
    if (m_dc.opaque && !(box && (options & ETO_OPAQUE)))
        m_painter->fillRect(cell, m_dc.backColor);
    m_painter->setFont(font);
    m_painter->setPen(m_dc.textColor);
    if (spaced) {
        double at = left;
        for (qsizetype i = 0; i < string.size(); ++i) {
            m_painter->drawText(QPointF(at, baseline), QString(string[i]));
            at += advances[i];
        }
    } else {
        m_painter->drawText(QPointF(left, baseline), string);
    }
    m_painter->restore();
}

void WmfPlayer::textOut(const WmfRecord &r)
{
    const qsizetype length = r.u16(0);
    const qsizetype stringWords = (length + 1) / 2;
    if (1 + stringWords + 2 > r.words)
        return;
    const QByteArrayView bytes = r.bytesFrom(1).first(length);
    text(r.i16(1 + stringWords + 1), r.i16(1 + stringWords), bytes, nullptr, 0, 0, std::nullopt);
}

void WmfPlayer::extTextOut(const WmfRecord &r)
{
    const qsizetype length = r.u16(2);
    const int options = r.u16(3);
    qsizetype at = 4;
    std::optional<QRectF> box;
    if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
        if (at + 4 > r.words)
            return;
        box = QRectF(map(r.i16(at), r.i16(at + 1)), map(r.i16(at + 2), r.i16(at + 3))).normalized();
        at += 4;
    }
    const qsizetype stringWords = (length + 1) / 2;
    if (at + stringWords > r.words)
        return;
    const QByteArrayView bytes = length ? r.bytesFrom(at).first(length) : QByteArrayView();
    if (bytes.isEmpty()) {
        if (box && (options & ETO_OPAQUE) && spend(*box, 0))
            m_painter->fillRect(*box, m_dc.backColor);
        return;
    }
    text(r.i16(1), r.i16(0), bytes, &r, at + stringWords, options, box);
}

void WmfPlayer::fillRect(const QRectF &device, quint32 rop)
{
    const int op = (rop >> 16) & 0xFF;
    if (op == 0xAA || !spend(device, 0)) // 0xAA leaves the destination
        return;
    m_painter->save();
    m_painter->setPen(Qt::NoPen);
    switch (op) {
    case 0x00: m_painter->fillRect(device, Qt::black); break;
    case 0xFF: m_painter->fillRect(device, Qt::white); break;
    case 0x55:
        m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        m_painter->fillRect(device, Qt::black);
        break;
    case 0x5A:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        m_painter->fillRect(device, m_dc.brush);
        break;
    default: m_painter->fillRect(device, m_dc.brush); break;
    }
    m_painter->restore();
}

void WmfPlayer::patBlt(const WmfRecord &r, qsizetype heightWord, quint32 rop)
{
    const double h = r.i16(heightWord), w = r.i16(heightWord + 1);
    const double y = r.i16(heightWord + 2), x = r.i16(heightWord + 3);
    fillRect(QRectF(map(x, y), map(x + w, y + h)).normalized(), rop);
}

QBrush WmfPlayer::patternBrush(QByteArrayView dib) const
{
    QString error;
    const QImage pattern = decodePackedDib(dib, 256 * 256, &error);
    return pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern);
}

void WmfPlayer::bitmap(const WmfRecord &r, quint32 rop, qsizetype dibWord, qsizetype destWord,
                       std::optional<qsizetype> srcWord, bool srcSizeGiven)
{
    // Destination: height, width, y, x (stretching) or y, x with the source size.
    double h, w;
    qsizetype at = destWord;
    if (srcSizeGiven) {
        h = r.i16(at);
        w = r.i16(at + 1);
        at += 2;
    } else {
        h = r.i16(2 + 2); // DIBBITBLT: the source's height and width
        w = r.i16(2 + 3);
    }
    const double y = r.i16(at), x = r.i16(at + 1);
    const QPointF a = map(x, y), b = map(x + w, y + h);
    QRectF target(a, b);
    const bool mirrorX = target.width() < 0, mirrorY = target.height() < 0;
    target = target.normalized();
    const QByteArrayView dib = r.bytesFrom(dibWord);
    const auto info = readDibInfo(dib);
    if (!info)
        return;
    const qint64 pixels = qint64(info->width) * info->height;
    if (pixels > kMaxDibPixels || !spend(target, pixels))
        return;
    QString error;
    QImage image = decodePackedDib(dib, kMaxDibPixels, &error);
    if (image.isNull())
        return;
    if (srcWord) {
        // Source: height, width, y, x (or y, x alone for DIBBITBLT).
        const qsizetype s = *srcWord;
        const QRect source = srcSizeGiven
            ? QRect(r.i16(s + 3), r.i16(s + 2), r.i16(s + 1), r.i16(s)).normalized()
            : QRect(r.i16(s + 1), r.i16(s), int(std::abs(w)), int(std::abs(h)));
        const QRect inside = source.intersected(image.rect());
        if (inside.isEmpty())
            return;
        if (inside != image.rect())
            image = image.copy(inside);
    }
    if (mirrorX || mirrorY)
        image = std::move(image).mirrored(mirrorX, mirrorY);
    m_painter->save();
    m_painter->setCompositionMode(blitMode(rop));
    // Enlarged bitmaps keep their pixels sharp, as the platform draws them;
    // reduced ones are smoothed.
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform,
                             target.width() < image.width() || target.height() < image.height());
    m_painter->drawImage(target, image);
    m_painter->restore();
}

// --- records ---------------------------------------------------------------

void WmfPlayer::record(const WmfRecord &r)
{
    switch (r.function) {
    case SAVEDC:
        if (m_saved.size() < kMaxSavedStates)
            m_saved.append(m_dc);
        break;
    case RESTOREDC: restoreDc(r.i16(0)); break;
    case SETBKMODE: m_dc.opaque = r.u16(0) == 2; break;
    case SETMAPMODE: m_dc.mapMode = r.u16(0); break;
    case SETROP2: m_dc.rop2 = r.u16(0); break;
    case SETPOLYFILLMODE: m_dc.fillRule = r.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case SETTEXTALIGN: m_dc.textAlign = r.u16(0); break;
    case SETBKCOLOR: m_dc.backColor = colorRef(r.u32(0)); break;
    case SETTEXTCOLOR: m_dc.textColor = colorRef(r.u32(0)); break;
    case SETWINDOWORG: m_dc.windowOrg = QPointF(r.i16(1), r.i16(0)); break;
    case SETWINDOWEXT: m_dc.windowExt = QSizeF(r.i16(1), r.i16(0)); break;
    case OFFSETWINDOWORG: m_dc.windowOrg += QPointF(r.i16(1), r.i16(0)); break;
    case SCALEWINDOWEXT:
        if (r.i16(0) != 0 && r.i16(2) != 0) {
            const QSizeF scaled(m_dc.windowExt.width() * r.i16(3) / r.i16(2),
                                m_dc.windowExt.height() * r.i16(1) / r.i16(0));
            if (scaled.width() != 0 && scaled.height() != 0)
                m_dc.windowExt = scaled;
        }
        break;
    case MOVETO: m_dc.position = QPointF(r.i16(1), r.i16(0)); break;
    case LINETO: {
        QPainterPath path(map(m_dc.position.x(), m_dc.position.y()));
        path.lineTo(map(r, 0, 1));
        m_dc.position = QPointF(r.i16(1), r.i16(0));
        drawLines(path);
        break;
    }
    case EXCLUDECLIPRECT: setClip(mapRect(r, 0), true); break;
    case INTERSECTCLIPRECT: setClip(mapRect(r, 0), false); break;
    case RECTANGLE: {
        QPainterPath path;
        path.addRect(mapRect(r, 0));
        drawShape(path, true);
        break;
    }
    case ROUNDRECT: roundRect(r); break;
    case ELLIPSE: {
        QPainterPath path;
        path.addEllipse(mapRect(r, 0));
        drawShape(path, true);
        break;
    }
    case ARC: case PIE: case CHORD: arc(r, r.function); break;
    case POLYGON: polygon(r, true); break;
    case POLYLINE: polygon(r, false); break;
    case POLYPOLYGON: polyPolygon(r); break;
    case SETPIXEL: {
        const QPointF p = map(r, 2, 3);
        const QRectF pixel(std::floor(p.x()), std::floor(p.y()), 1, 1);
        if (spend(pixel, 0))
            m_painter->fillRect(pixel, colorRef(r.u32(0)));
        break;
    }
    case TEXTOUT: textOut(r); break;
    case EXTTEXTOUT: extTextOut(r); break;
    case PATBLT: patBlt(r, 2, r.u32(0)); break;
    case BITBLT:
    case DIBBITBLT:
        if (r.words == 9) // no bitmap: a fill with the brush
            patBlt(r, 5, r.u32(0));
        else if (r.function == DIBBITBLT)
            bitmap(r, r.u32(0), 8, 6, qsizetype(2), false);
        break;
    case STRETCHBLT:
    case DIBSTRETCHBLT:
        if (r.words == 11)
            patBlt(r, 7, r.u32(0));
        else if (r.function == DIBSTRETCHBLT)
            bitmap(r, r.u32(0), 10, 6, qsizetype(2), true);
        break;
    case STRETCHDIB: bitmap(r, r.u32(0), 11, 7, qsizetype(3), true); break;
    case CREATEPENINDIRECT: {
        Object o;
        o.kind = Object::Pen;
        o.pen.style = r.u16(0);
        o.pen.width = std::abs(r.i16(1));
        o.pen.color = colorRef(r.u32(3));
        createObject(std::move(o));
        break;
    }
    case CREATEBRUSHINDIRECT: {
        Object o;
        o.kind = Object::Brush;
        const int style = r.u16(0);
        const QColor color = colorRef(r.u32(1));
        if (style == 1) // BS_NULL
            o.brush = QBrush(Qt::NoBrush);
        else if (style == 2) // BS_HATCHED
            o.brush = QBrush(color, hatch(r.u16(3)));
        else
            o.brush = QBrush(color);
        createObject(std::move(o));
        break;
    }
    case DIBCREATEPATTERNBRUSH: {
        Object o;
        o.kind = Object::Brush;
        o.brush = patternBrush(r.bytesFrom(2));
        createObject(std::move(o));
        break;
    }
    case CREATEPATTERNBRUSH: {
        Object o;
        o.kind = Object::Brush;
        o.brush = QBrush(Qt::gray);
        createObject(std::move(o));
        break;
    }
    case CREATEFONTINDIRECT: {
        Object o;
        o.kind = Object::Font;
        o.font.height = r.i16(0);
        o.font.escapement = r.i16(2);
        o.font.weight = r.i16(4);
        const QByteArrayView bytes = r.bytesFrom(5);
        o.font.italic = bytes.size() > 0 && bytes[0];
        o.font.underline = bytes.size() > 1 && bytes[1];
        o.font.strikeout = bytes.size() > 2 && bytes[2];
        if (bytes.size() > 8) {
            QByteArrayView face = bytes.sliced(8, std::min<qsizetype>(32, bytes.size() - 8));
            const qsizetype end = face.indexOf('\0');
            if (end >= 0)
                face = face.first(end);
            o.font.face = QString::fromLatin1(face.data(), face.size());
        }
        createObject(std::move(o));
        break;
    }
    case CREATEPALETTE:
    case CREATEREGION: {
        Object o;
        o.kind = Object::Other;
        createObject(std::move(o));
        break;
    }
    case SELECTOBJECT: selectObject(r.u16(0)); break;
    case DELETEOBJECT: deleteObject(r.u16(0)); break;
    default:
        // Viewport changes, palettes, regions, escapes and the like do not
        // change what a picture of this size shows.
        break;
    }
}

} // namespace vz::picture
