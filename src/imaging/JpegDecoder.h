#pragma once
// Decodes a JPEG straight through libjpeg-turbo: the header alone (size and
// EXIF orientation), or any rectangle of the stored picture, skipping the rows
// above it and cropping the columns outside it, into a 32-bit image. Baseline,
// progressive, greyscale and CMYK/YCCK pictures; library errors come back as
// a reason instead of ending the program.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

#include "imaging/Cancel.h"

class QIODevice;

namespace vz::picture {

class JpegDecoder
{
public:
    // Reads from device, which must stay open while the decoder lives.
    explicit JpegDecoder(QIODevice &device);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder &) = delete;
    JpegDecoder &operator=(const JpegDecoder &) = delete;

    bool readHeader();
    // The size of the pixels as stored, before any orientation.
    QSize storedSize() const;
    // EXIF orientation, 1 to 8.
    int orientation() const;
    // Whether the pixels are stored as CMYK (or YCCK).
    bool isCmyk() const;
    // The JPEG thumbnail stored in the EXIF data, if any, undecoded.
    QByteArray thumbnail() const;
    // The ICC profile of the APP2 segments, put together; empty if none.
    QByteArray iccProfile() const;
    // Whether the pixels are stored as one grey component.
    bool isGrey() const;
    // Makes decode() give a CMYK picture's samples as they are (C, M, Y, K
    // bytes of a Format_RGBA8888 image, 255 for full ink), for a colour
    // profile to convert, instead of RGB by the plain formula.
    void keepCmykSamples() { m_cmykSamples = true; }

    // The size of the pixels as stored, decoded at 1 / scale (1, 2, 4 or 8).
    QSize scaledSize(int scale) const;
    // The pixels of rect (stored coordinates at 1 / scale, inside
    // scaledSize(scale)), as they are stored; a null image on failure. Only
    // once per decoder.
    // coarse, for a progressive picture at 1/8 (ignored otherwise): reading
    // stops as soon as the first scans have brought every colour's block
    // averages, all that a 1/8 decode uses (short of their last refinement
    // bits at most).
    QImage decode(const QRect &rect, int scale = 1, bool coarse = false);
    // A decode stops, as failed, once *flag is set: between blocks of input
    // and between rows.
    void setCancelFlag(const CancelFlag *flag);

    QString errorString() const { return m_error; }

private:
    struct State;
    bool guardedReadHeader();
    bool guardedDecode(QImage &image, unsigned char *row, const QRect &rect, int scale, bool coarse);
    void fail();

    std::unique_ptr<State> m_state;
    QString m_error;
    bool m_cmykSamples = false;
};

} // namespace vz::picture
