// Windows metafiles, straight through the metafile picture: open() checks
// the structure and works out the size, render() draws the part of it that a
// 256 x 256 view shows when it is centred, as the show draws it. The size is
// always one that the picture loader accepts, and the part drawn is exactly
// the part asked for.

#include "FuzzSupport.h"

#include "imaging/PictureLoader.h"
#include "imaging/Limits.h"
#include "imaging/wmf/WmfPicture.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vz::picture;
    const auto metafile = WmfPicture::open(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!metafile) {
        VZ_FUZZ_CHECK(!metafile.error().isEmpty());
        return 0;
    }
    const QSize natural = metafile.value()->size();
    VZ_FUZZ_CHECK(natural.width() >= 1 && natural.width() <= kMaxMetafileSide);
    VZ_FUZZ_CHECK(natural.height() >= 1 && natural.height() <= kMaxMetafileSide);
    const QRect area = vz::PictureLoader::visibleRect(natural, QSize(256, 256));
    const QImage image = metafile.value()->render(area);
    VZ_FUZZ_CHECK(image.size() == area.size());
    vz::fuzz::letTimersRun();
    return 0;
}
