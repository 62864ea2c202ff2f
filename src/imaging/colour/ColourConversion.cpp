#include "imaging/colour/ColourConversion.h"

#include "imaging/Logging.h"
#include "imaging/PixelFormat.h"

#include <QSysInfo>
#include <list>
#include <lcms2.h>
#include <memory>
#include <mutex>
#include <thread>

namespace vz::picture {

namespace {

const bool kLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

// Pixels as QImage holds them: 32-bit RGB (alpha or padding last in memory
// on little-endian machines, first on big-endian ones), grey repeated in
// each colour of such a pixel, and CMYK samples in RGBA8888's four bytes.
cmsUInt32Number pixelType(ColourProfile::Model model)
{
    switch (model) {
    case ColourProfile::Model::Grey:
        return COLORSPACE_SH(PT_GRAY) | EXTRA_SH(3) | CHANNELS_SH(1) | BYTES_SH(1) | SWAPFIRST_SH(kLittleEndian ? 0 : 1);
    case ColourProfile::Model::Cmyk: return TYPE_CMYK_8;
    case ColourProfile::Model::Rgb: break;
    }
    return kLittleEndian ? TYPE_BGRA_8 : TYPE_ARGB_8;
}

using Transform = std::shared_ptr<void>;

// Making a transform reads both profiles and, for the 8-bit pixels here,
// precomputes tables (for a CMYK profile, a grid of thousands of colours):
// far more than converting a screenful of pixels through a simple one. A
// show converts most pictures between the same few profiles, so the last
// transforms made are kept, by the profiles' bytes. Transforms are made
// without Little CMS's one-pixel cache, which would not be safe to share
// between threads.
class TransformCache
{
public:
    Transform get(const ColourProfile &source, const ColourProfile &target)
    {
        const std::lock_guard lock(m_mutex);
        for (auto it = m_recent.begin(); it != m_recent.end(); ++it)
            if (it->source == source.icc() && it->target == target.icc() && it->model == source.model()) {
                m_recent.splice(m_recent.begin(), m_recent, it);
                return it->transform;
            }
        m_recent.push_front({source.icc(), target.icc(), source.model(), make(source, target)});
        if (m_recent.size() > kKept)
            m_recent.pop_back();
        return m_recent.front().transform;
    }

private:
    static constexpr std::size_t kKept = 8;
    struct Entry
    {
        QByteArray source, target;
        ColourProfile::Model model;
        Transform transform;
    };

    static cmsHPROFILE open(const ColourProfile &profile)
    {
        return profile.isNull() ? cmsCreate_sRGBProfile()
                                : cmsOpenProfileFromMem(profile.icc().constData(), cmsUInt32Number(profile.icc().size()));
    }

    static Transform make(const ColourProfile &source, const ColourProfile &target)
    {
        cmsHPROFILE from = open(source), to = open(target);
        cmsHTRANSFORM made = from && to ? cmsCreateTransform(from, pixelType(source.model()), to,
                                                             pixelType(ColourProfile::Model::Rgb), INTENT_PERCEPTUAL,
                                                             cmsFLAGS_NOCACHE)
                                        : nullptr;
        for (cmsHPROFILE profile : {from, to})
            if (profile)
                cmsCloseProfile(profile);
        return made ? Transform(made, cmsDeleteTransform) : Transform();
    }

    std::mutex m_mutex;
    std::list<Entry> m_recent;
};

TransformCache &transforms()
{
    static TransformCache cache;
    return cache;
}

// Below this many pixels a second thread costs more than it saves.
constexpr qint64 kPixelsWorthAThread = 256 * 1024;

void makeOpaque(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xFF000000u;
    }
}

} // namespace

QImage plainCmykToRgb(QImage samples)
{
    for (int y = 0; y < samples.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(samples.scanLine(y));
        const auto *cmyk = reinterpret_cast<const uchar *>(line);
        for (int x = 0; x < samples.width(); ++x, cmyk += 4) {
            const unsigned k = 255u - cmyk[3];
            line[x] = qRgb(int((255u - cmyk[0]) * k / 255), int((255u - cmyk[1]) * k / 255),
                           int((255u - cmyk[2]) * k / 255));
        }
    }
    samples.reinterpretAsFormat(QImage::Format_RGB32);
    return samples;
}

QImage convertColours(QImage image, const ColourProfile &source, const ColourProfile &displayed)
{
    const bool cmyk = source.model() == ColourProfile::Model::Cmyk;
    if (cmyk && image.format() != QImage::Format_RGBA8888)
        return image;
    if (!cmyk)
        image = thirtyTwoBit(std::move(image));
    ColourProfile target = displayed;
    if (target.model() != ColourProfile::Model::Rgb) {
        qCWarning(lcImaging, "The screen's colour profile is not one of RGB; pictures are shown in sRGB.");
        target = {};
    }
    if (image.isNull() || source.icc() == target.icc())
        return cmyk ? plainCmykToRgb(std::move(image)) : image;
    const Transform transform = transforms().get(source, target);
    if (!transform) {
        qCWarning(lcImaging, "A picture's colour profile (%lld bytes) cannot be converted to the screen's; its "
                             "numbers are shown as they are.", qint64(source.icc().size()));
        return cmyk ? plainCmykToRgb(std::move(image)) : image;
    }
    // Little CMS converts colours apart from their alpha.
    if (image.format() == QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_ARGB32);
    // The rows are shared between this thread and one more: a screen's worth
    // of pixels takes Little CMS 10 to 20 ms on this machine's cores, the
    // same again as the decode it follows. A transform made without a cache
    // may be used by several threads at once.
    uchar *pixels = image.bits();
    const auto convertRows = [&](int first, int count) {
        uchar *at = pixels + qsizetype(first) * image.bytesPerLine();
        cmsDoTransformLineStride(transform.get(), at, at, cmsUInt32Number(image.width()), cmsUInt32Number(count),
                                 cmsUInt32Number(image.bytesPerLine()), cmsUInt32Number(image.bytesPerLine()), 0, 0);
    };
    const int half = image.height() / 2;
    if (qint64(image.width()) * image.height() < kPixelsWorthAThread) {
        convertRows(0, image.height());
    } else {
        std::thread other(convertRows, half, image.height() - half);
        convertRows(0, half);
        other.join();
    }
    if (cmyk) {
        image.reinterpretAsFormat(QImage::Format_RGB32);
        makeOpaque(image);
    }
    return image;
}

} // namespace vz::picture
