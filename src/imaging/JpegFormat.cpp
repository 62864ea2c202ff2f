// JPEG files, decoded by libjpeg straight from the file (see
// imaging/JpegDecoder.h), only the rows and columns asked for, and turned
// upright by their EXIF orientation.

#include "imaging/ExifOrientation.h"
#include "imaging/ImageFormat.h"
#include "imaging/JpegDecoder.h"

#include <QBuffer>
#include <QFile>

namespace vz::picture {

namespace {

class JpegSource final : public ImageSource
{
public:
    explicit JpegSource(QFile &file)
        : m_decoder(file)
    {
    }

    std::optional<Failure> start()
    {
        if (!m_decoder.readHeader())
            return damaged(m_decoder.errorString());
        if (const QByteArray icc = m_decoder.iccProfile(); !icc.isEmpty()) {
            using Model = ColourProfile::Model;
            const Model pixels = m_decoder.isCmyk() ? Model::Cmyk : m_decoder.isGrey() ? Model::Grey : Model::Rgb;
            setColour(ColourProfile::fromIcc(icc, pixels, "a JPEG"));
            // Inks are converted by their profile, from the samples.
            if (pixels == Model::Cmyk && !colour().isNull())
                m_decoder.keepCmykSamples();
        }
        return std::nullopt;
    }

    QSize size() const override { return orientedSize(m_decoder.storedSize(), m_decoder.orientation()); }

    Result<QImage> read(const QRect &region) override
    {
        const int orientation = m_decoder.orientation();
        m_decoder.setCancelFlag(cancelFlag());
        QImage pixels = m_decoder.decode(storedRect(region, m_decoder.storedSize(), orientation));
        if (pixels.isNull())
            return damaged(m_decoder.errorString());
        return applyOrientation(std::move(pixels), orientation);
    }

    // libjpeg decodes at 1/2, 1/4 or 1/8 of the size at a fraction of the
    // cost: the smallest of them that still covers atLeast.
    Result<QImage> readScaled(QSize atLeast) override { return decodeCovering(atLeast, false); }

    // A copy the photo keeps, or else the smallest scale; at 1/8 a
    // progressive photo is read no further than its first scans need.
    Result<QImage> readPreview(QSize atLeast) override
    {
        const int orientation = m_decoder.orientation();
        if (QImage small = thumbnailCovering(orientedSize(atLeast, orientation)); !small.isNull())
            return applyOrientation(std::move(small), orientation);
        return decodeCovering(atLeast, true);
    }

private:
    Result<QImage> decodeCovering(QSize atLeast, bool coarse)
    {
        const int orientation = m_decoder.orientation();
        const QSize wanted = orientedSize(atLeast, orientation);
        int scale = 8;
        while (scale > 1 && (m_decoder.scaledSize(scale).width() < wanted.width()
                             || m_decoder.scaledSize(scale).height() < wanted.height()))
            scale /= 2;
        m_decoder.setCancelFlag(cancelFlag());
        QImage pixels = m_decoder.decode(QRect(QPoint(0, 0), m_decoder.scaledSize(scale)), scale, coarse);
        if (pixels.isNull())
            return damaged(m_decoder.errorString());
        return applyOrientation(std::move(pixels), orientation);
    }

    // Cameras and phones keep a small copy of the photo in its EXIF data,
    // stored the way the photo is: decoded instead of the photo when it
    // serves, otherwise a null image. Not for CMYK photos: the copy's colours
    // come from a colour profile, the photo's would not.
    QImage thumbnailCovering(QSize wanted) const
    {
        if (m_decoder.isCmyk())
            return {};
        QBuffer bytes;
        bytes.setData(m_decoder.thumbnail());
        if (bytes.data().isEmpty() || !bytes.open(QIODevice::ReadOnly))
            return {};
        JpegDecoder copy(bytes);
        if (!copy.readHeader() || !copyServes(copy.storedSize(), m_decoder.storedSize(), wanted))
            return {};
        return copy.decode(QRect(QPoint(0, 0), copy.storedSize()));
    }

    JpegDecoder m_decoder;
};

class JpegFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override { return head.startsWith("\xFF\xD8\xFF"); }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        auto source = std::make_unique<JpegSource>(file);
        if (auto failure = source->start())
            return std::move(*failure);
        return std::unique_ptr<ImageSource>(std::move(source));
    }
};

} // namespace

std::unique_ptr<ImageFormat> jpegFormat()
{
    return std::make_unique<JpegFormat>();
}

} // namespace vz::picture
