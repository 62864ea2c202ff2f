#include "imaging/ImageFormat.h"

#include <QFile>
#include <cstdlib>

namespace vz::picture {

std::vector<std::unique_ptr<ImageFormat>> standardFormats()
{
    std::vector<std::unique_ptr<ImageFormat>> formats;
    formats.push_back(bitmapFormat());
    formats.push_back(jpegFormat());
    formats.push_back(gifFormat());
    formats.push_back(iconFormat());
    formats.push_back(metafileFormat());
    formats.push_back(pngFormat());
    formats.push_back(webpFormat());
    formats.push_back(tiffFormat());
    formats.push_back(heifFormat());
    formats.push_back(packedBitmapFormat());
    return formats;
}

Failure damaged(const QString &detail)
{
    return Failure{QStringLiteral("The picture is damaged: %1.").arg(detail)};
}

Failure tooLarge(qint64 width, qint64 height)
{
    return Failure{QStringLiteral("The picture is too large: %1 x %2 pixels.").arg(width).arg(height)};
}

Failure fileTooLarge()
{
    return Failure{QStringLiteral("The file is too large to be a picture.")};
}

Result<QByteArray> readWhole(QFile &file, qint64 limit)
{
    if (file.size() > limit)
        return fileTooLarge();
    return file.readAll();
}

QtImageSource::QtImageSource(QIODevice &device, const char *format)
    : m_reader(&device, format)
{
}

QtImageSource::QtImageSource(QByteArray bytes, const char *format)
    : m_bytes(std::move(bytes))
    , m_buffer(&m_bytes)
    , m_reader(&m_buffer, format)
{
    m_buffer.open(QIODevice::ReadOnly);
}

Result<std::unique_ptr<ImageSource>> QtImageSource::open(QIODevice &device, const char *format)
{
    std::unique_ptr<QtImageSource> source(new QtImageSource(device, format));
    if (auto failure = source->start())
        return std::move(*failure);
    return std::unique_ptr<ImageSource>(std::move(source));
}

Result<std::unique_ptr<ImageSource>> QtImageSource::open(QByteArray bytes, const char *format)
{
    std::unique_ptr<QtImageSource> source(new QtImageSource(std::move(bytes), format));
    if (auto failure = source->start())
        return std::move(*failure);
    return std::unique_ptr<ImageSource>(std::move(source));
}

std::optional<Failure> QtImageSource::start()
{
    m_reader.setAutoTransform(false);
    m_reader.setAllocationLimit(int(kMaxDecoderBytes / (1024 * 1024)));
    // Qt's BMP reader gives a top-down bitmap's height as negative.
    m_size = QSize(qAbs(m_reader.size().width()), qAbs(m_reader.size().height()));
    if (m_size.isEmpty())
        return damaged(m_reader.errorString());
    return std::nullopt;
}

Result<QImage> QtImageSource::read(const QRect &region)
{
    if (region.size() != m_size)
        m_reader.setClipRect(region);
    QImage image = m_reader.read();
    if (image.isNull())
        return damaged(m_reader.errorString());
    // A GIF's first frame may come out smaller than its screen; the picture
    // keeps the size its header gives.
    if (image.size() != region.size())
        image = image.copy(QRect(QPoint(0, 0), region.size()));
    return image;
}

Result<QImage> QtImageSource::readScaled(QSize atLeast)
{
    const QSize natural = m_size;
    if (!m_reader.supportsOption(QImageIOHandler::ScaledSize) || atLeast.width() >= natural.width()
        || atLeast.height() >= natural.height())
        return read(QRect(QPoint(0, 0), natural));
    // The reader scales the pixels as stored, before any turn.
    m_reader.setScaledSize(m_reader.transformation() & QImageIOHandler::TransformationRotate90 ? atLeast.transposed()
                                                                                            : atLeast);
    QImage image = m_reader.read();
    if (image.isNull())
        return damaged(m_reader.errorString());
    return image;
}

bool copyServes(QSize copy, QSize picture, QSize wanted)
{
    const qint64 skew = qint64(copy.width()) * picture.height() - qint64(copy.height()) * picture.width();
    return copy.width() >= wanted.width() && copy.height() >= wanted.height()
        && std::abs(skew) <= std::max(picture.width(), picture.height());
}

} // namespace vz::picture
