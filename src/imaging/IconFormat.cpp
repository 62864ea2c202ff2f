// Icon files: the largest image that decodes (see imaging/IconFile.h); an
// image that does not is passed over for the next, and logged.

#include "imaging/ByteReader.h"
#include "imaging/IconFile.h"
#include "imaging/ImageFormat.h"
#include "imaging/Logging.h"

#include <QFile>

namespace vz::picture {

namespace {

// An image decoded whole when the file was opened.
class DecodedSource final : public ImageSource
{
public:
    explicit DecodedSource(QImage image)
        : m_image(std::move(image))
    {
    }
    QSize size() const override { return m_image.size(); }
    Result<QImage> read(const QRect &region) override
    {
        return region == m_image.rect() ? m_image : m_image.copy(region);
    }

private:
    QImage m_image;
};

Result<QImage> decodeImage(QByteArray iconFile)
{
    auto source = QtImageSource::open(std::move(iconFile), "ico");
    if (!source)
        return Failure{source.error()};
    ImageSource &image = *source.value();
    return image.read(QRect(QPoint(0, 0), image.size()));
}

class IconFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override
    {
        const ByteReader in(head);
        return in.has(0, 6) && in.u16(0) == 0 && in.u16(2) == 1 && in.u16(4) > 0;
    }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        const auto bytes = readWhole(file);
        if (!bytes)
            return Failure{bytes.error()};
        const QList<IconImage> images = iconImages(bytes.value());
        for (qsizetype i = 0; i < images.size() && i < kIconAttempts; ++i) {
            auto image = decodeImage(singleIconFile(bytes.value(), images[i]));
            if (image)
                return std::unique_ptr<ImageSource>(std::make_unique<DecodedSource>(std::move(image).value()));
            qCWarning(lcImaging) << "icon:" << file.fileName() << "the image of" << images[i].width << "x"
                                 << images[i].height << "pixels is passed over:" << image.error();
            if (i + 1 == images.size() || i + 1 == kIconAttempts)
                return Failure{image.error()};
        }
        return damaged(QStringLiteral("the icon holds no intact image"));
    }
};

} // namespace

std::unique_ptr<ImageFormat> iconFormat()
{
    return std::make_unique<IconFormat>();
}

} // namespace vz::picture
