#include "imaging/wmf/WmfDeviceContext.h"

#include "imaging/Limits.h"

#include <algorithm>
#include <cmath>

namespace vz::picture {

namespace {

// Keeps device coordinates well inside what the rasteriser handles.
constexpr double kCoordinateLimit = 1 << 18;

double clampCoordinate(double v)
{
    if (!std::isfinite(v))
        return 0;
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

} // namespace

int WmfState::unitsPerInch() const
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

WmfDeviceContext::WmfDeviceContext(const WmfMapping &mapping, QPointF origin, int objectCount)
    : m_mapping(mapping)
    , m_origin(origin)
{
    if (mapping.initialWindow) {
        state.windowOrg = mapping.initialWindow->topLeft();
        state.windowExt = mapping.initialWindow->size();
    }
    m_objects.resize(std::clamp(objectCount, 1, kMaxMetafileObjects));
    for (int i = 0; i < m_objects.size(); ++i)
        m_freeSlots.insert(m_freeSlots.end(), i);
}

void WmfDeviceContext::save()
{
    if (m_saved.size() < kMaxSavedStates)
        m_saved.append(state);
}

void WmfDeviceContext::restore(int which)
{
    const qsizetype index = which < 0 ? m_saved.size() + which : qsizetype(which) - 1;
    if (index < 0 || index >= m_saved.size())
        return;
    state = m_saved[index];
    m_saved.resize(index);
}

void WmfDeviceContext::createObject(WmfObject object)
{
    if (!m_freeSlots.empty()) {
        m_objects[*m_freeSlots.begin()] = std::move(object);
        m_freeSlots.erase(m_freeSlots.begin());
    } else if (m_objects.size() < kMaxMetafileObjects) {
        m_objects.append(std::move(object));
    }
}

void WmfDeviceContext::deleteObject(int index)
{
    if (index < m_objects.size() && m_objects[index].kind != WmfObject::Empty) {
        m_objects[index] = WmfObject();
        m_freeSlots.insert(index);
    }
}

void WmfDeviceContext::selectObject(int index)
{
    if (index < 0 || index >= m_objects.size())
        return;
    const WmfObject &o = m_objects[index];
    switch (o.kind) {
    case WmfObject::Pen: state.pen = o.pen; break;
    case WmfObject::Brush: state.brush = o.brush; break;
    case WmfObject::Font: state.font = o.font; break;
    default: break;
    }
}

void WmfDeviceContext::selectPalette(int index)
{
    if (index >= 0 && index < m_objects.size() && m_objects[index].kind == WmfObject::Palette)
        state.palette = m_objects[index].palette;
}

void WmfDeviceContext::clip(const QRectF &device, bool exclude, const QRectF &whole)
{
    const QRegion rect(device.toAlignedRect());
    const QRegion current = state.clipped ? state.clip : QRegion(whole.toAlignedRect());
    const QRegion next = exclude ? current.subtracted(rect) : current.intersected(rect);
    if (next.rectCount() > kMaxClipRects)
        return;
    state.clip = next;
    state.clipped = true;
}

bool WmfDeviceContext::usesWindow() const
{
    return m_mapping.view && state.hasWindow() && (m_mapping.anisotropic || state.windowMode());
}

double WmfDeviceContext::scaleX() const
{
    if (usesWindow())
        return m_mapping.view->width() / state.windowExt.width();
    return m_mapping.unitScale;
}

double WmfDeviceContext::scaleY() const
{
    if (usesWindow())
        return m_mapping.view->height() / state.windowExt.height();
    return state.unitsPerInch() ? -m_mapping.unitScale : m_mapping.unitScale;
}

QPointF WmfDeviceContext::map(double x, double y) const
{
    double dx, dy;
    if (usesWindow()) {
        dx = (x - state.windowOrg.x()) * scaleX();
        dy = (y - state.windowOrg.y()) * scaleY();
    } else {
        const double flip = state.unitsPerInch() ? -1 : 1;
        dx = ((x - state.windowOrg.x()) - m_mapping.base.x()) * m_mapping.unitScale;
        dy = (flip * (y - state.windowOrg.y()) - m_mapping.base.y()) * m_mapping.unitScale;
    }
    return QPointF(clampCoordinate(dx - m_origin.x()), clampCoordinate(dy - m_origin.y()));
}

} // namespace vz::picture
