#include "imaging/colour/ColourProfile.h"

#include "imaging/Logging.h"

#include <QList>
#include <lcms2.h>
#include <memory>
#include <optional>

namespace vz::picture {

namespace {

struct ProfileFree
{
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileFree>;

// The H.273 colour primaries (red, green, blue, white as CIE xy) that
// pictures are made in; 1 (BT.709) is sRGB's.
std::optional<std::array<QPointF, 4>> nclxPrimaries(int code)
{
    const QPointF d65(0.3127, 0.3290), illuminantC(0.310, 0.316);
    switch (code) {
    case 1: return std::array{QPointF(0.64, 0.33), QPointF(0.30, 0.60), QPointF(0.15, 0.06), d65};
    case 4: return std::array{QPointF(0.67, 0.33), QPointF(0.21, 0.71), QPointF(0.14, 0.08), illuminantC};
    case 5: return std::array{QPointF(0.64, 0.33), QPointF(0.29, 0.60), QPointF(0.15, 0.06), d65};
    case 6:
    case 7: return std::array{QPointF(0.630, 0.340), QPointF(0.310, 0.595), QPointF(0.155, 0.070), d65};
    case 8: return std::array{QPointF(0.681, 0.319), QPointF(0.243, 0.692), QPointF(0.145, 0.049), illuminantC};
    case 9: return std::array{QPointF(0.708, 0.292), QPointF(0.170, 0.797), QPointF(0.131, 0.046), d65};
    case 11: return std::array{QPointF(0.680, 0.320), QPointF(0.265, 0.690), QPointF(0.150, 0.060), QPointF(0.314, 0.351)};
    case 12: return std::array{QPointF(0.680, 0.320), QPointF(0.265, 0.690), QPointF(0.150, 0.060), d65};
    case 22: return std::array{QPointF(0.630, 0.340), QPointF(0.295, 0.605), QPointF(0.155, 0.077), d65};
    default: return std::nullopt;
    }
}

// The H.273 transfer characteristics of standard-range pictures, undone: the
// BT.709 camera curve (which BT.601 and BT.2020 share), SMPTE 240M's, plain
// powers, linear light and sRGB's curve.
std::optional<ColourProfile::Curve> nclxCurve(int code)
{
    switch (code) {
    case 1: case 6: case 14: case 15: return ColourProfile::Curve{1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
    case 4: return ColourProfile::Curve{2.2, 1, 0, 0, 0};
    case 5: return ColourProfile::Curve{2.8, 1, 0, 0, 0};
    case 7: return ColourProfile::Curve{1 / 0.45, 1 / 1.1115, 0.1115 / 1.1115, 1 / 4.0, 0.0913};
    case 8: return ColourProfile::Curve{1, 1, 0, 0, 0};
    case 13: return ColourProfile::kSrgbCurve;
    default: return std::nullopt;
    }
}

} // namespace

const ColourProfile::Curve ColourProfile::kSrgbCurve{2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};

ColourProfile ColourProfile::fromIcc(QByteArray icc, Model pixels, const char *origin)
{
    const Profile profile(cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    const cmsColorSpaceSignature space = profile ? cmsGetColorSpace(profile.get()) : cmsSigXYZData;
    const bool fits = (pixels == Model::Rgb && space == cmsSigRgbData) || (pixels == Model::Grey && space == cmsSigGrayData)
        || (pixels == Model::Cmyk && space == cmsSigCmykData);
    if (!fits) {
        qCWarning(lcImaging, "The colour profile of %s cannot be read or does not fit its pixels (%lld bytes); its "
                             "numbers are shown as they are.", origin, qint64(icc.size()));
        return {};
    }
    ColourProfile result;
    result.m_icc = std::move(icc);
    result.m_model = pixels;
    return result;
}

ColourProfile ColourProfile::fromPrimaries(const std::array<QPointF, 4> &rgbw, const Curve &curve)
{
    const auto xyY = [](QPointF p) { return cmsCIExyY{p.x(), p.y(), 1.0}; };
    const cmsCIExyY white = xyY(rgbw[3]);
    const cmsCIExyYTRIPLE primaries{xyY(rgbw[0]), xyY(rgbw[1]), xyY(rgbw[2])};
    const double parameters[5] = {curve.gamma, curve.a, curve.b, curve.c, curve.d};
    cmsToneCurve *tone = cmsBuildParametricToneCurve(nullptr, 4, parameters);
    cmsToneCurve *curves[3] = {tone, tone, tone};
    const Profile profile(tone ? cmsCreateRGBProfile(&white, &primaries, curves) : nullptr);
    if (tone)
        cmsFreeToneCurve(tone);
    cmsUInt32Number bytes = 0;
    if (!profile || !cmsSaveProfileToMem(profile.get(), nullptr, &bytes))
        return {};
    ColourProfile result;
    result.m_icc.resize(qsizetype(bytes));
    if (!cmsSaveProfileToMem(profile.get(), result.m_icc.data(), &bytes))
        return {};
    return result;
}

ColourProfile ColourProfile::fromNclx(int primaries, int transfer)
{
    // 2 is "unspecified": the sRGB part of the pair is taken.
    const auto rgbw = nclxPrimaries(primaries == 2 ? 1 : primaries);
    const auto curve = nclxCurve(transfer == 2 ? 13 : transfer);
    if (!rgbw || !curve) {
        qCWarning(lcImaging, "The colours of an nclx box (primaries %d, transfer %d) cannot be shown; its numbers are "
                             "shown as sRGB.", primaries, transfer);
        return {};
    }
    if ((primaries == 1 || primaries == 2) && (transfer == 13 || transfer == 2))
        return {};
    return fromPrimaries(*rgbw, *curve);
}

QByteArray iccFromJpegSegments(const QList<QByteArrayView> &segments)
{
    // Each payload: "ICC_PROFILE\0", its number (from 1), the count, bytes.
    const QByteArrayView tag("ICC_PROFILE\0", 12);
    QList<QByteArrayView> parts;
    for (const QByteArrayView segment : segments) {
        if (!segment.startsWith(tag) || segment.size() < 14)
            continue;
        const int number = quint8(segment[12]), count = quint8(segment[13]);
        if (parts.isEmpty())
            parts.resize(count);
        if (count != parts.size() || number < 1 || number > count || !parts[number - 1].isNull())
            return {};
        parts[number - 1] = segment.sliced(14);
    }
    QByteArray icc;
    for (const QByteArrayView part : parts) {
        if (part.isNull())
            return {};
        icc += part;
    }
    return icc;
}

} // namespace vz::picture
