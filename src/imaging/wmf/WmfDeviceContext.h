#pragma once
// The device context a metafile's records change: the drawing state (window,
// map mode, pen, brush, font, colours, modes, current position, clip region),
// the states saved and restored as a whole, the table of objects the records
// create, select and delete, and the mapping of logical coordinates to the
// picture's pixels. Objects, saved states and clip regions are capped (see
// imaging/Limits.h).

#include <QBrush>
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <optional>
#include <set>

namespace vz::picture {

// How logical coordinates become picture pixels.
struct WmfMapping
{
    // Placeable metafiles, and plain ones that set a window extent: the
    // window (set by the file, starting from initialWindow when given) fills
    // a view of this many pixels. Without a view the window is not applied.
    std::optional<QSizeF> view;
    std::optional<QRectF> initialWindow;
    // Otherwise: (logical - window origin), mirrored vertically in the map
    // modes whose y axis points up, then (that - base) * unitScale.
    QPointF base;
    double unitScale = 1;
    // Ignore the file's map mode (placeable metafiles are always anisotropic).
    bool anisotropic = false;
};

struct WmfLogicalFont
{
    int height = 0;
    int width = 0; // average character width; 0 for the font's own
    int escapement = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    QString face;
};

struct WmfLogicalPen
{
    int style = 0;
    int width = 0; // logical units
    QColor color = Qt::black;
};

// The drawing state that records change, saved and restored as a whole.
struct WmfState
{
    QPointF windowOrg;
    QSizeF windowExt; // empty until the file sets one
    int mapMode = 1;
    WmfLogicalPen pen;
    QBrush brush = QBrush(Qt::white);
    WmfLogicalFont font;
    QColor textColor = Qt::black;
    QColor backColor = Qt::white;
    bool opaque = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int textAlign = 0;
    int rop2 = 13;
    QPointF position;
    bool clipped = false;
    QRegion clip; // device pixels
    // The colours of the selected palette, for colours given by index.
    QVector<QRgb> palette;

    // Logical units per inch of the map mode; 0 when it has no physical unit.
    int unitsPerInch() const;
    // Whether the map mode scales the window onto the view.
    bool windowMode() const { return mapMode == 7 || mapMode == 8; }
    bool hasWindow() const { return windowExt.width() != 0 && windowExt.height() != 0; }
};

struct WmfObject
{
    enum Kind { Empty, Pen, Brush, Font, Palette, Other } kind = Empty;
    WmfLogicalPen pen;
    QBrush brush;
    WmfLogicalFont font;
    QVector<QRgb> palette;
};

class WmfDeviceContext
{
public:
    // origin: the picture pixel that lands on the device's top-left.
    WmfDeviceContext(const WmfMapping &mapping, QPointF origin, int objectCount);

    WmfState state;

    void save();
    // which < 0: that many states back; which > 0: the state saved as number which.
    void restore(int which);

    // A new object takes the lowest free slot, as the platform numbers them.
    void createObject(WmfObject object);
    void deleteObject(int index);
    void selectObject(int index);
    void selectPalette(int index);

    // Narrows the clip region to device (or cuts device out of it), inside
    // whole, the device's extent; a region of too many rectangles is not taken.
    void clip(const QRectF &device, bool exclude, const QRectF &whole);

    // Logical to device coordinates, and the scale of a logical unit.
    QPointF map(double x, double y) const;
    double scaleX() const;
    double scaleY() const;

private:
    bool usesWindow() const;

    WmfMapping m_mapping;
    QPointF m_origin;
    QVector<WmfState> m_saved;
    QVector<WmfObject> m_objects;
    std::set<int> m_freeSlots;
};

} // namespace vz::picture
