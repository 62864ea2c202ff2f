// GIF files: the first frame, read by Qt once an absurd logical screen is cut
// down (see imaging/GifFile.h).

#include "imaging/GifFile.h"
#include "imaging/ImageFormat.h"

#include <QFile>

namespace vz::picture {

namespace {

class GifFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override
    {
        return head.startsWith("GIF87a") || head.startsWith("GIF89a");
    }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        auto bytes = readWhole(file);
        if (!bytes)
            return Failure{bytes.error()};
        return QtImageSource::open(withSaneScreen(std::move(bytes).value()), "gif");
    }
};

} // namespace

std::unique_ptr<ImageFormat> gifFormat()
{
    return std::make_unique<GifFormat>();
}

} // namespace vz::picture
