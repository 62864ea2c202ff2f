#include "imaging/wmf/WmfPicture.h"

#include "imaging/Limits.h"
#include "imaging/wmf/WmfBoundsCanvas.h"
#include "imaging/wmf/WmfPainterCanvas.h"
#include "imaging/wmf/WmfPlayer.h"

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
    return QSize(std::clamp(int(std::lround(size.width())), 1, kMaxMetafileSide),
                 std::clamp(int(std::lround(size.height())), 1, kMaxMetafileSide));
}

} // namespace

WmfPicture::WmfPicture(QByteArray data)
    : m_data(std::move(data))
{
}

Result<std::unique_ptr<WmfPicture>> WmfPicture::open(QByteArray data)
{
    std::unique_ptr<WmfPicture> picture(new WmfPicture(std::move(data)));
    if (!picture->m_file.parse(picture->m_data))
        return Failure{picture->m_file.errorString()};
    if (const auto error = picture->measure())
        return Failure{*error};
    return picture;
}

std::optional<QString> WmfPicture::measure()
{
    if (m_file.placeable()) {
        const QRect box = m_file.boundingBox();
        const double width = double(box.right()) - box.left();
        const double height = double(box.bottom()) - box.top();
        const int inch = m_file.unitsPerInch() > 0 ? m_file.unitsPerInch() : 1440;
        if (width == 0 || height == 0)
            return QStringLiteral("the metafile's bounding box is empty");
        QSizeF pixels(std::abs(width) * kScreenDpi / inch, std::abs(height) * kScreenDpi / inch);
        pixels *= fitInto(pixels, kMaxMetafileSide);
        m_size = whole(pixels);
        m_mapping.anisotropic = true;
        m_mapping.view = QSizeF(m_size);
        m_mapping.initialWindow = QRectF(box.left(), box.top(), width, height);
        return std::nullopt;
    }
    // A plain metafile is measured by playing it in logical units.
    WmfBoundsCanvas bounds;
    WmfPlayer(m_file, WmfMapping(), QPointF(), bounds).play();
    const WmfSurvey survey = bounds.survey();
    if (survey.window) {
        const QSizeF units(std::abs(survey.window->width()), std::abs(survey.window->height()));
        m_size = whole(units * fitInto(units, kPlainMetafileSide));
        m_mapping.view = QSizeF(m_size);
        return std::nullopt;
    }
    if (survey.drawn.isEmpty())
        return QStringLiteral("the metafile declares no size and draws nothing");
    const double unit = survey.unitsPerInch ? kScreenDpi / survey.unitsPerInch : 1.0;
    const QSizeF pixels = survey.drawn.size() * unit;
    const double fit = fitInto(pixels, survey.unitsPerInch ? kMaxMetafileSide : kPlainMetafileSide);
    m_size = whole(pixels * fit);
    m_mapping.base = survey.drawn.topLeft();
    m_mapping.unitScale = unit * fit;
    return std::nullopt;
}

QImage WmfPicture::render(const QRect &area, const CancelFlag *cancel) const
{
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    WmfPainterCanvas canvas(painter, area, cancel);
    WmfPlayer(m_file, m_mapping, area.topLeft(), canvas).play();
    return image;
}

} // namespace vz::picture
