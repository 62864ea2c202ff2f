#include "imaging/WmfPicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vz::picture {

namespace {

constexpr double kScreenDpi = 96;

// Fits size into a square of side pixels; the factor applied.
double fitInto(QSizeF size, int side)
{
    const double longest = std::max(size.width(), size.height());
    return longest > side ? side / longest : 1.0;
}

QSize whole(QSizeF size)
{
    return QSize(std::clamp(int(std::lround(size.width())), 1, WmfPicture::kMaxSide),
                 std::clamp(int(std::lround(size.height())), 1, WmfPicture::kMaxSide));
}

} // namespace

bool WmfPicture::open(QByteArray data)
{
    m_data = std::move(data);
    if (!m_file.parse(m_data)) {
        m_error = m_file.errorString();
        return false;
    }
    if (m_file.placeable()) {
        const QRect box = m_file.boundingBox();
        const double width = double(box.right()) - box.left();
        const double height = double(box.bottom()) - box.top();
        const int inch = m_file.unitsPerInch() > 0 ? m_file.unitsPerInch() : 1440;
        if (width == 0 || height == 0) {
            m_error = QStringLiteral("the metafile's bounding box is empty");
            return false;
        }
        QSizeF pixels(std::abs(width) * kScreenDpi / inch, std::abs(height) * kScreenDpi / inch);
        pixels *= fitInto(pixels, kMaxSide);
        m_size = whole(pixels);
        m_mapping.anisotropic = true;
        m_mapping.viewSize = m_size;
        m_mapping.initialWindow = QRectF(box.left(), box.top(), width, height);
        return true;
    }
    const WmfSurvey survey = WmfPlayer(m_file, WmfMapping()).survey();
    if (survey.window) {
        const QSizeF units(std::abs(survey.window->width()), std::abs(survey.window->height()));
        m_size = whole(units * fitInto(units, kPlainSide));
        m_mapping.viewSize = m_size;
        return true;
    }
    if (survey.drawn.isEmpty()) {
        m_error = QStringLiteral("the metafile declares no size and draws nothing");
        return false;
    }
    const double unit = survey.unitsPerInch ? kScreenDpi / survey.unitsPerInch : 1.0;
    const QSizeF pixels = survey.drawn.size() * unit;
    const double fit = fitInto(pixels, survey.unitsPerInch ? kMaxSide : kPlainSide);
    m_size = whole(pixels * fit);
    m_mapping.base = survey.drawn.topLeft();
    m_mapping.unitScale = unit * fit;
    return true;
}

QImage WmfPicture::render(const QRect &area) const
{
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    WmfPlayer(m_file, m_mapping).play(painter, area);
    return image;
}

} // namespace vz::picture
