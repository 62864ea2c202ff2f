#pragma once
// The colour space a picture's numbers are in, as the file tells it: an
// embedded ICC profile, or primaries and a transfer curve (HEIF's nclx, PNG's
// cHRM and gAMA), which are made into an ICC profile here so that every
// source is one kind of thing. A null profile stands for sRGB, the colour
// space of every picture that names none. Profiles are read by Little CMS.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <array>

namespace vz::picture {

class ColourProfile
{
public:
    // What the profile's numbers describe; the pixels must match it.
    enum class Model { Rgb, Grey, Cmyk };

    // sRGB.
    ColourProfile() = default;

    // An ICC profile that a file carries for pixels of the given model; a
    // null profile (with a warning saying where it came from) when it cannot
    // be read or describes other pixels.
    static ColourProfile fromIcc(QByteArray icc, Model pixels, const char *origin);
    // Red, green and blue primaries and the white point as CIE xy, and a
    // curve from stored numbers to light.
    struct Curve
    {
        // Little CMS parametric curve of type 4: Y = (aX + b)^gamma for
        // X >= d, Y = cX below; {gamma, 1, 0, 0, 0} is a plain power.
        double gamma, a, b, c, d;
    };
    static ColourProfile fromPrimaries(const std::array<QPointF, 4> &redGreenBlueWhite, const Curve &curve);
    // The colour space an nclx box names by its H.273 code points; null for
    // sRGB and (with a warning) for what cannot be shown on an ordinary
    // screen (HDR transfers) or is not known.
    static ColourProfile fromNclx(int primaries, int transfer);

    static const Curve kSrgbCurve;

    bool isNull() const { return m_icc.isEmpty(); }
    Model model() const { return m_model; }
    const QByteArray &icc() const { return m_icc; }

private:
    QByteArray m_icc;
    Model m_model = Model::Rgb;
};

// An ICC profile that a JPEG spreads over APP2 "ICC_PROFILE" segments (each
// the payload of one segment, in file order), put together by the sequence
// numbers the segments carry; empty when they do not make one whole.
QByteArray iccFromJpegSegments(const QList<QByteArrayView> &segments);

} // namespace vz::picture
