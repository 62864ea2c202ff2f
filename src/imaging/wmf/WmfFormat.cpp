// Windows metafiles, drawn at the size they declare (see imaging/wmf/WmfPicture.h).

#include "imaging/ImageFormat.h"
#include "imaging/wmf/WmfPicture.h"

#include <QFile>

namespace vz::picture {

namespace {

class MetafileSource final : public ImageSource
{
public:
    explicit MetafileSource(std::unique_ptr<WmfPicture> metafile)
        : m_metafile(std::move(metafile))
    {
    }
    QSize size() const override { return m_metafile->size(); }
    Result<QImage> read(const QRect &region) override
    {
        QImage image = m_metafile->render(region, cancelFlag());
        if (isCancelled(cancelFlag()))
            return Failure{QStringLiteral("the drawing was given up")};
        if (image.isNull())
            return Failure{QStringLiteral("Not enough memory for the picture.")};
        return image;
    }

private:
    std::unique_ptr<WmfPicture> m_metafile;
};

class MetafileFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override { return WmfPicture::looksLikeMetafile(head); }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        if (file.size() > kMaxMetafileBytes)
            return Failure{QStringLiteral("The file is too large to be a metafile.")};
        auto metafile = WmfPicture::open(file.readAll());
        if (!metafile)
            return damaged(metafile.error());
        return std::unique_ptr<ImageSource>(std::make_unique<MetafileSource>(std::move(metafile).value()));
    }
};

} // namespace

std::unique_ptr<ImageFormat> metafileFormat()
{
    return std::make_unique<MetafileFormat>();
}

} // namespace vz::picture
