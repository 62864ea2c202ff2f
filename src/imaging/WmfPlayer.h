#pragma once
// Plays the records of a metafile: either onto a QPainter, mapping the
// metafile's logical coordinates to the picture's pixels, or as a survey that
// only collects where the drawing goes (for metafiles without a placeable
// header, whose size must come from their content). Object tables, saved
// states, clip regions, text sizes and the total drawing work are capped, so
// no file can make playback take absurd memory or time.

#include "imaging/WmfFile.h"

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <optional>
#include <set>

class QPainter;

namespace vz::picture {

// How logical coordinates become picture pixels.
struct WmfMapping
{
    // Placeable metafiles, and plain ones that set a window extent: the
    // window (set by the file, starting from initialWindow when given) fills
    // a view of viewSize pixels.
    QSizeF viewSize;
    std::optional<QRectF> initialWindow;
    // Plain metafiles without a window extent: (logical - window origin),
    // mirrored vertically in the map modes whose y axis points up, then
    // (that - base) * unitScale.
    QPointF base;
    double unitScale = 1;
    // Ignore the file's map mode (placeable metafiles are always anisotropic).
    bool anisotropic = false;
};

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

class WmfPlayer
{
public:
    WmfPlayer(const WmfFile &file, const WmfMapping &mapping);

    // Draws into painter's device; area is the part of the picture that
    // device holds (its top-left is the device's origin).
    void play(QPainter &painter, const QRect &area);
    WmfSurvey survey();

private:
    struct LogicalFont
    {
        int height = 0;
        int escapement = 0;
        int weight = 0;
        bool italic = false;
        bool underline = false;
        bool strikeout = false;
        QString face;
    };
    struct LogicalPen
    {
        int style = 0;
        int width = 0; // logical units
        QColor color = Qt::black;
    };
    struct Object
    {
        enum Kind { Empty, Pen, Brush, Font, Other } kind = Empty;
        LogicalPen pen;
        QBrush brush;
        LogicalFont font;
    };
    // The drawing state that records change, saved and restored as a whole.
    struct Dc
    {
        QPointF windowOrg;
        QSizeF windowExt; // empty until the file sets one
        int mapMode = 1;
        LogicalPen pen;
        QBrush brush = QBrush(Qt::white);
        LogicalFont font;
        QColor textColor = Qt::black;
        QColor backColor = Qt::white;
        bool opaque = true;
        Qt::FillRule fillRule = Qt::OddEvenFill;
        int textAlign = 0;
        int rop2 = 13;
        QPointF position;
        bool clipped = false;
        QRegion clip;
    };

    void run();
    void record(const WmfRecord &r);

    // State and objects.
    void createObject(Object object);
    void deleteObject(int index);
    void selectObject(int index);
    void restoreDc(int which);
    void applyClip();
    void setClip(const QRectF &logical, bool exclude);

    // Coordinates.
    bool usesWindow() const;
    QPointF map(double x, double y) const;
    QPointF map(const WmfRecord &r, qsizetype yWord, qsizetype xWord) const;
    QRectF mapRect(const WmfRecord &r, qsizetype firstWord) const; // bottom, right, top, left
    double scaleX() const;
    double scaleY() const;

    // Drawing.
    bool spend(const QRectF &deviceBounds, qint64 extra);
    QPen devicePen(const QRectF &deviceBounds) const;
    void drawShape(const QPainterPath &path, bool fill);
    void drawLines(const QPainterPath &path);
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
                std::optional<qsizetype> srcWord, bool srcSizeGiven);
    QBrush patternBrush(QByteArrayView dib) const;

    const WmfFile &m_file;
    WmfMapping m_mapping;
    QPainter *m_painter = nullptr;
    QRectF m_device;
    QPointF m_areaOffset;
    Dc m_dc;
    QVector<Dc> m_saved;
    QVector<Object> m_objects;
    std::set<int> m_freeSlots;
    qint64 m_budget = 0;
    bool m_stopped = false;
    std::optional<WmfSurvey> m_survey;
};

} // namespace vz::picture
