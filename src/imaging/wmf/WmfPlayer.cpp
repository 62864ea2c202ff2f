#include "imaging/wmf/WmfPlayer.h"

#include "imaging/Dib.h"
#include "imaging/Limits.h"
#include "imaging/Logging.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vz::picture {

namespace {

constexpr int TA_UPDATECP = 0x0001;
constexpr int R2_BLACK = 1, R2_NOP = 11, R2_WHITE = 16;

// The sixteen colours of a 4-bit device bitmap, as the standard palette has them.
constexpr QRgb kStandardColours[16] = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

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
    case 0x22: return QPainter::RasterOp_NotSourceAndDestination; // the inverse of a mask cleared out
    case 0x99: return QPainter::RasterOp_NotSourceXorDestination;
    case 0x77: return QPainter::RasterOp_NotSourceOrNotDestination;
    case 0xDD: return QPainter::RasterOp_SourceOrNotDestination;
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

WmfPlayer::WmfPlayer(const WmfFile &file, const WmfMapping &mapping, QPointF origin, WmfCanvas &canvas)
    : m_file(file)
    , m_dc(mapping, origin, file.objectCount())
    , m_state(m_dc.state)
    , m_canvas(canvas)
{
}

void WmfPlayer::play()
{
    WmfFile::Cursor cursor = m_file.records();
    WmfRecord r;
    while (cursor.next(r) && m_canvas.charge(16))
        record(r);
}

// An RGB value, or (with 0x01 in the top byte) an index into the selected palette.
QColor WmfPlayer::colorRef(quint32 v) const
{
    if ((v >> 24) == 1) {
        const QVector<QRgb> &palette = m_state.palette;
        return palette.isEmpty() ? QColor(Qt::black) : QColor(palette.value(v & 0xFFFF, palette.first()));
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QPointF WmfPlayer::map(const WmfRecord &r, qsizetype yWord, qsizetype xWord) const
{
    return m_dc.map(r.i16(xWord), r.i16(yWord));
}

QRectF WmfPlayer::mapRect(const WmfRecord &r, qsizetype firstWord) const
{
    const QPointF bottomRight = map(r, firstWord, firstWord + 1);
    const QPointF topLeft = map(r, firstWord + 2, firstWord + 3);
    return QRectF(topLeft, bottomRight).normalized();
}

// --- drawing ---------------------------------------------------------------

QPen WmfPlayer::devicePen(const QRectF &bounds) const
{
    const WmfLogicalPen &logical = m_state.pen;
    const int style = logical.style & 0x0F;
    if (style == 5 || m_state.rop2 == R2_NOP)
        return Qt::NoPen;
    QColor color = logical.color;
    if (m_state.rop2 == R2_BLACK)
        color = Qt::black;
    else if (m_state.rop2 == R2_WHITE)
        color = Qt::white;
    const double width = std::min(logical.width * std::abs(m_dc.scaleX()),
                                  2 * std::max(m_canvas.device().width(), m_canvas.device().height()));
    QPen pen(color);
    pen.setWidthF(std::max(1.0, width));
    // Only thin lines are dashed, and never across an absurd length.
    const bool dashable = width <= 1
        && bounds.width() + bounds.height() <= 8 * (m_canvas.device().width() + m_canvas.device().height());
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
    if (!m_canvas.admit(bounds.adjusted(-margin, -margin, margin, margin), shape.elementCount(), m_state))
        return;
    QBrush brush = fill && m_state.rop2 != R2_NOP ? m_state.brush : QBrush(Qt::NoBrush);
    if (brush.style() != Qt::NoBrush && m_state.rop2 == R2_BLACK)
        brush = QBrush(Qt::black);
    else if (brush.style() != Qt::NoBrush && m_state.rop2 == R2_WHITE)
        brush = QBrush(Qt::white);
    QPainterPath path = shape;
    path.setFillRule(m_state.fillRule);
    m_canvas.drawPath(path, pen, brush, m_state);
}

void WmfPlayer::polygon(const WmfRecord &r, bool closed)
{
    const qsizetype count = r.u16(0);
    if (count < 2 || 1 + 2 * count > r.words())
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
        drawShape(path, false);
    }
}

void WmfPlayer::polyPolygon(const WmfRecord &r)
{
    const qsizetype polygons = r.u16(0);
    if (polygons == 0 || 1 + polygons > r.words())
        return;
    qsizetype total = 0;
    for (qsizetype i = 0; i < polygons; ++i)
        total += r.u16(1 + i);
    qsizetype at = 1 + polygons;
    if (at + 2 * total > r.words())
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
            drawShape(path, false);
        }
    }
}

void WmfPlayer::roundRect(const WmfRecord &r)
{
    const QRectF box = mapRect(r, 2);
    const double rx = std::min(std::abs(r.i16(1) * m_dc.scaleX()) / 2, box.width() / 2);
    const double ry = std::min(std::abs(r.i16(0) * m_dc.scaleY()) / 2, box.height() / 2);
    QPainterPath path;
    path.addRoundedRect(box, rx, ry, Qt::AbsoluteSize);
    drawShape(path, true);
}

void WmfPlayer::text(double x, double y, QByteArrayView bytes, const WmfRecord *dxRecord,
                     qsizetype dxWord, int options, const std::optional<QRectF> &box)
{
    const WmfLogicalFont &logical = m_state.font;
    const bool updatePosition = m_state.textAlign & TA_UPDATECP;
    const QPointF origin = updatePosition ? m_dc.map(m_state.position.x(), m_state.position.y()) : m_dc.map(x, y);
    const double sy = std::abs(m_dc.scaleY()), sx = std::abs(m_dc.scaleX());
    double pixels = logical.height < 0 ? -logical.height * sy : logical.height * sy;
    if (logical.height == 0 || !std::isfinite(pixels))
        pixels = 16;
    pixels = std::clamp(pixels, 1.0, kMaxFontPixels);

    WmfTextRun run;
    run.origin = origin;
    run.string = QString::fromLatin1(bytes.data(), bytes.size());
    run.pixels = pixels;
    run.widthPixels = std::min(logical.width * sx, kMaxFontPixels);
    run.box = box;
    run.options = options;
    if (dxRecord && dxWord + run.string.size() <= dxRecord->words()) {
        run.advances.emplace();
        for (qsizetype i = 0; i < run.string.size(); ++i)
            run.advances->append(dxRecord->i16(dxWord + i) * sx);
    }
    const double advance = m_canvas.drawText(run, m_state);
    if (updatePosition && sx > 0 && (m_state.textAlign & 6) != 2)
        m_state.position.rx() += advance / m_dc.scaleX();
}

void WmfPlayer::textOut(const WmfRecord &r)
{
    const qsizetype length = r.u16(0);
    const qsizetype stringWords = (length + 1) / 2;
    if (1 + stringWords + 2 > r.words())
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
        if (at + 4 > r.words())
            return;
        box = QRectF(m_dc.map(r.i16(at), r.i16(at + 1)), m_dc.map(r.i16(at + 2), r.i16(at + 3))).normalized();
        at += 4;
    }
    const qsizetype stringWords = (length + 1) / 2;
    if (at + stringWords > r.words())
        return;
    const QByteArrayView bytes = length ? r.bytesFrom(at).first(length) : QByteArrayView();
    if (bytes.isEmpty()) {
        if (box && (options & ETO_OPAQUE) && m_canvas.admit(*box, 0, m_state))
            m_canvas.fillRect(*box, m_state.backColor);
        return;
    }
    text(r.i16(1), r.i16(0), bytes, &r, at + stringWords, options, box);
}

void WmfPlayer::fillRect(const QRectF &device, quint32 rop)
{
    const int op = (rop >> 16) & 0xFF;
    if (op == 0xAA || !m_canvas.admit(device, 0, m_state)) // 0xAA leaves the destination
        return;
    switch (op) {
    case 0x00: m_canvas.fillRect(device, Qt::black); break;
    case 0xFF: m_canvas.fillRect(device, Qt::white); break;
    case 0x55: m_canvas.fillRect(device, Qt::black, QPainter::RasterOp_NotDestination); break;
    case 0x5A: m_canvas.fillRect(device, m_state.brush, QPainter::RasterOp_SourceXorDestination); break;
    default: m_canvas.fillRect(device, m_state.brush); break;
    }
}

void WmfPlayer::patBlt(const WmfRecord &r, qsizetype heightWord, quint32 rop)
{
    const double h = r.i16(heightWord), w = r.i16(heightWord + 1);
    const double y = r.i16(heightWord + 2), x = r.i16(heightWord + 3);
    fillRect(QRectF(m_dc.map(x, y), m_dc.map(x + w, y + h)).normalized(), rop);
}

// A device-dependent bitmap: width, height, bytes a row, planes and bits a
// pixel, then the rows top-down. Monochrome pixels take the text colour (0)
// and the background colour (1), as when copied onto a colour device.
QImage WmfPlayer::deviceBitmap(QByteArrayView bytes) const
{
    const ByteReader in(bytes);
    const int width = in.i16(2), height = in.i16(4), stride = in.i16(6), bits = in.u8(9);
    if (width <= 0 || height <= 0 || in.u8(8) != 1 || qint64(width) * height > kMaxMetafileBitmapPixels
        || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        || stride < (qint64(width) * bits + 7) / 8 || !in.has(10, qint64(stride) * height))
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const QRgb text = m_state.textColor.rgb(), back = m_state.backColor.rgb();
    for (int y = 0; y < height; ++y) {
        const qsizetype row = 10 + qsizetype(y) * stride;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bits) {
            case 1: line[x] = (in.u8(row + x / 8) >> (7 - x % 8)) & 1 ? back : text; break;
            case 4: line[x] = kStandardColours[(in.u8(row + x / 2) >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: line[x] = m_state.palette.value(in.u8(row + x), kStandardColours[in.u8(row + x) % 16]); break;
            case 16: {
                const quint16 p = in.u16(row + 2 * x);
                line[x] = qRgb((p >> 10 & 31) * 255 / 31, (p >> 5 & 31) * 255 / 31, (p & 31) * 255 / 31);
                break;
            }
            default: {
                const qsizetype at = row + qsizetype(x) * (bits / 8);
                line[x] = qRgb(in.u8(at + 2), in.u8(at + 1), in.u8(at));
            }
            }
        }
    }
    return image;
}

void WmfPlayer::bitmap(const WmfRecord &r, quint32 rop, qsizetype dibWord, qsizetype destWord,
                       qsizetype srcWord, bool srcSizeGiven, bool device)
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
    const QPointF a = m_dc.map(x, y), b = m_dc.map(x + w, y + h);
    QRectF target(a, b);
    const bool mirrorX = target.width() < 0, mirrorY = target.height() < 0;
    target = target.normalized();
    const QByteArrayView dib = r.bytesFrom(dibWord);
    const ByteReader header(dib);
    const auto info = device ? std::nullopt : readDibInfo(dib);
    const qint64 pixels = device ? qint64(header.i16(2)) * header.i16(4) : info ? qint64(info->width) * info->height : -1;
    if (pixels < 0 || pixels > kMaxMetafileBitmapPixels || !m_canvas.admit(target, pixels, m_state))
        return;
    const auto decoded = device ? Result<QImage>(deviceBitmap(dib)) : decodePackedDib(dib, kMaxMetafileBitmapPixels);
    if (!decoded || decoded.value().isNull()) {
        qCWarning(lcImaging) << "metafile: a bitmap is passed over:" << (decoded ? QStringLiteral("device bitmap") : decoded.error());
        return;
    }
    QImage image = decoded.value();
    {
        // Source: height, width, y, x (or y, x alone for DIBBITBLT).
        const qsizetype s = srcWord;
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
    m_canvas.drawImage(target, image, blitMode(rop));
}

// --- records ---------------------------------------------------------------

void WmfPlayer::record(const WmfRecord &r)
{
    switch (r.function) {
    case SAVEDC: m_dc.save(); break;
    case RESTOREDC:
        m_dc.restore(r.i16(0));
        m_canvas.setClip(m_state);
        break;
    case SETBKMODE: m_state.opaque = r.u16(0) == 2; break;
    case SETMAPMODE: m_state.mapMode = r.u16(0); break;
    case SETROP2: m_state.rop2 = r.u16(0); break;
    case SETPOLYFILLMODE: m_state.fillRule = r.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case SETTEXTALIGN: m_state.textAlign = r.u16(0); break;
    case SETBKCOLOR: m_state.backColor = colorRef(r.u32(0)); break;
    case SETTEXTCOLOR: m_state.textColor = colorRef(r.u32(0)); break;
    case SETWINDOWORG: m_state.windowOrg = QPointF(r.i16(1), r.i16(0)); break;
    case SETWINDOWEXT: m_state.windowExt = QSizeF(r.i16(1), r.i16(0)); break;
    case OFFSETWINDOWORG: m_state.windowOrg += QPointF(r.i16(1), r.i16(0)); break;
    case SCALEWINDOWEXT:
        if (r.i16(0) != 0 && r.i16(2) != 0) {
            const QSizeF scaled(m_state.windowExt.width() * r.i16(3) / r.i16(2),
                                m_state.windowExt.height() * r.i16(1) / r.i16(0));
            if (scaled.width() != 0 && scaled.height() != 0)
                m_state.windowExt = scaled;
        }
        break;
    case MOVETO: m_state.position = QPointF(r.i16(1), r.i16(0)); break;
    case LINETO: {
        QPainterPath path(m_dc.map(m_state.position.x(), m_state.position.y()));
        path.lineTo(map(r, 0, 1));
        m_state.position = QPointF(r.i16(1), r.i16(0));
        drawShape(path, false);
        break;
    }
    case EXCLUDECLIPRECT:
    case INTERSECTCLIPRECT:
        m_canvas.charge(64 + 16 * qint64(m_state.clip.rectCount()));
        m_dc.clip(mapRect(r, 0), r.function == EXCLUDECLIPRECT, m_canvas.device());
        m_canvas.setClip(m_state);
        break;
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
        if (m_canvas.admit(pixel, 0, m_state))
            m_canvas.fillRect(pixel, colorRef(r.u32(0)));
        break;
    }
    case TEXTOUT: textOut(r); break;
    case EXTTEXTOUT: extTextOut(r); break;
    case PATBLT: patBlt(r, 2, r.u32(0)); break;
    case BITBLT:
    case DIBBITBLT:
        if (r.words() == 9) // no bitmap: a fill with the brush
            patBlt(r, 5, r.u32(0));
        else
            bitmap(r, r.u32(0), 8, 6, qsizetype(2), false, r.function == BITBLT);
        break;
    case STRETCHBLT:
    case DIBSTRETCHBLT:
        if (r.words() == 11)
            patBlt(r, 7, r.u32(0));
        else
            bitmap(r, r.u32(0), 10, 6, qsizetype(2), true, r.function == STRETCHBLT);
        break;
    case STRETCHDIB: bitmap(r, r.u32(0), 11, 7, qsizetype(3), true, false); break;
    case CREATEPENINDIRECT:
    case CREATEBRUSHINDIRECT:
    case DIBCREATEPATTERNBRUSH:
    case CREATEPATTERNBRUSH:
    case CREATEFONTINDIRECT:
    case CREATEPALETTE:
    case CREATEREGION:
        createObject(r);
        break;
    case SELECTOBJECT: m_dc.selectObject(r.u16(0)); break;
    case SELECTPALETTE: m_dc.selectPalette(r.u16(0)); break;
    case DELETEOBJECT: m_dc.deleteObject(r.u16(0)); break;
    default:
        // Viewport changes, palettes, regions, escapes and the like do not
        // change what a picture of this size shows.
        break;
    }
}

// Palettes and regions take a slot too, so that later objects are numbered right.
void WmfPlayer::createObject(const WmfRecord &r)
{
    WmfObject o;
    switch (r.function) {
    case CREATEPENINDIRECT:
        o.kind = WmfObject::Pen;
        o.pen.style = r.u16(0);
        o.pen.width = std::abs(r.i16(1));
        o.pen.color = colorRef(r.u32(3));
        break;
    case CREATEBRUSHINDIRECT: {
        o.kind = WmfObject::Brush;
        const int style = r.u16(0);
        const QColor color = colorRef(r.u32(1));
        if (style == 1) // BS_NULL
            o.brush = QBrush(Qt::NoBrush);
        else if (style == 2) // BS_HATCHED
            o.brush = QBrush(color, hatch(r.u16(3)));
        else
            o.brush = QBrush(color);
        break;
    }
    case DIBCREATEPATTERNBRUSH: {
        o.kind = WmfObject::Brush;
        const auto pattern = decodePackedDib(r.bytesFrom(2), kMaxPatternPixels);
        o.brush = pattern ? QBrush(pattern.value()) : QBrush(Qt::gray);
        break;
    }
    case CREATEPATTERNBRUSH:
        o.kind = WmfObject::Brush;
        o.brush = QBrush(Qt::gray);
        break;
    case CREATEFONTINDIRECT: {
        o.kind = WmfObject::Font;
        o.font.height = r.i16(0);
        o.font.width = std::abs(r.i16(1));
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
        break;
    }
    case CREATEPALETTE: {
        // Entries of red, green, blue and flags.
        o.kind = WmfObject::Palette;
        const qsizetype count = std::min<qsizetype>(r.u16(1), (r.words() - 2) / 2);
        const QByteArrayView entries = r.bytesFrom(2);
        for (qsizetype i = 0; i < std::min<qsizetype>(count, 256); ++i)
            o.palette.append(qRgb(quint8(entries[4 * i]), quint8(entries[4 * i + 1]), quint8(entries[4 * i + 2])));
        break;
    }
    default:
        o.kind = WmfObject::Other;
        break;
    }
    m_dc.createObject(std::move(o));
}

} // namespace vz::picture
