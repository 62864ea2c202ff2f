// PNG, WebP and TIFF files, read by Qt's image readers (WebP and TIFF through
// the image-format plugins) and turned upright by the EXIF orientation they
// carry: a PNG's eXIf chunk, a WebP's EXIF chunk, a TIFF's own Orientation
// tag. Qt reads the first frame of an animated PNG or WebP (an animated PNG's
// default image) and the first page of a TIFF.

#include "imaging/ExifOrientation.h"
#include "imaging/ImageFormat.h"
#include "imaging/colour/FileColours.h"

#include <QFile>
#include <QtEndian>

namespace vz::picture {

namespace {

// Enough for any EXIF block whose first directory holds the orientation.
constexpr qint64 kMaxExifBytes = 1024 * 1024;

// A picture stored turned or mirrored, served upright.
class OrientedSource final : public ImageSource
{
public:
    OrientedSource(std::unique_ptr<ImageSource> stored, int orientation)
        : m_stored(std::move(stored))
        , m_orientation(orientation)
    {
    }

    QSize size() const override { return orientedSize(m_stored->size(), m_orientation); }

    Result<QImage> read(const QRect &region) override
    {
        auto pixels = m_stored->read(storedRect(region, m_stored->size(), m_orientation));
        if (!pixels)
            return Failure{pixels.error()};
        return applyOrientation(std::move(pixels).value(), m_orientation);
    }

private:
    std::unique_ptr<ImageSource> m_stored;
    int m_orientation;
};

// The payload of the first chunk of the given type, walking the chunks from
// offset at: PNG's (length, type, data, CRC) or RIFF's (type, length, data
// padded to an even length). Metadata may follow the pixels, so the walk
// goes on to the end; it reads only the chunk headers.
QByteArray findChunk(QIODevice &file, qint64 at, QByteArrayView wanted, bool riff)
{
    QByteArray header;
    while (file.seek(at) && (header = file.read(8)).size() == 8) {
        const QByteArrayView type = QByteArrayView(header).sliced(riff ? 0 : 4, 4);
        const qint64 length = riff ? qFromLittleEndian<quint32>(header.constData() + 4)
                                   : qFromBigEndian<quint32>(header.constData());
        if (type == wanted)
            return file.read(qMin(length, kMaxExifBytes));
        if (!riff && type == "IEND")
            break;
        at += 8 + length + (riff ? length % 2 : 4);
    }
    return {};
}

// The orientation an EXIF block gives; some writers keep the "Exif\0\0"
// prefix that only a JPEG segment should have.
int orientationOf(QByteArrayView exif)
{
    const QByteArrayView prefix("Exif\0\0", 6);
    return exifOrientation(exif.startsWith(prefix) ? exif.sliced(prefix.size()) : exif);
}

// The EXIF orientation that Qt's TIFF reader takes from the Orientation tag.
int tiffOrientation(QIODevice &file)
{
    switch (QImageReader(&file, "tiff").transformation()) {
    case QImageIOHandler::TransformationMirror: return 2;
    case QImageIOHandler::TransformationRotate180: return 3;
    case QImageIOHandler::TransformationFlip: return 4;
    case QImageIOHandler::TransformationFlipAndRotate90: return 5;
    case QImageIOHandler::TransformationRotate90: return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90: return 7;
    case QImageIOHandler::TransformationRotate270: return 8;
    default: return 1;
    }
}

class QtFormat final : public ImageFormat
{
public:
    enum class Kind { Png, Webp, Tiff };
    explicit QtFormat(Kind kind)
        : m_kind(kind)
    {
    }

    bool canRead(QByteArrayView head) const override
    {
        switch (m_kind) {
        case Kind::Png: return head.startsWith("\x89PNG\r\n\x1A\n");
        case Kind::Webp: return head.startsWith("RIFF") && head.sliced(qMin(head.size(), 8)).startsWith("WEBP");
        case Kind::Tiff:
            // Classic (42) and big (43) TIFF, in either byte order.
            return head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4))
                || head.startsWith(QByteArrayView("II+\0", 4)) || head.startsWith(QByteArrayView("MM\0+", 4));
        }
        return false;
    }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        int orientation = 1;
        ColourProfile colour;
        switch (m_kind) {
        case Kind::Png:
            orientation = orientationOf(findChunk(file, 8, "eXIf", false));
            colour = pngColours(file);
            break;
        case Kind::Webp:
            // Qt's WebP reader holds the whole file.
            if (file.size() > kMaxFileBytes)
                return fileTooLarge();
            // Only the extended format (a VP8X chunk first) carries metadata.
            if (file.peek(16).endsWith("VP8X")) {
                orientation = orientationOf(findChunk(file, 12, "EXIF", true));
                if (const QByteArray icc = findChunk(file, 12, "ICCP", true); !icc.isEmpty())
                    colour = ColourProfile::fromIcc(icc, ColourProfile::Model::Rgb, "a WebP picture");
            }
            break;
        case Kind::Tiff:
            orientation = tiffOrientation(file);
            colour = tiffColours(file);
            break;
        }
        if (!file.seek(0))
            return damaged(file.errorString());
        auto stored = QtImageSource::open(file, m_kind == Kind::Png ? "png" : m_kind == Kind::Webp ? "webp" : "tiff");
        if (!stored)
            return stored;
        std::unique_ptr<ImageSource> source = std::move(stored).value();
        if (orientation != 1)
            source = std::make_unique<OrientedSource>(std::move(source), orientation);
        source->setColour(std::move(colour));
        return source;
    }

private:
    Kind m_kind;
};

} // namespace

std::unique_ptr<ImageFormat> pngFormat()
{
    return std::make_unique<QtFormat>(QtFormat::Kind::Png);
}

std::unique_ptr<ImageFormat> webpFormat()
{
    return std::make_unique<QtFormat>(QtFormat::Kind::Webp);
}

std::unique_ptr<ImageFormat> tiffFormat()
{
    return std::make_unique<QtFormat>(QtFormat::Kind::Tiff);
}

} // namespace vz::picture
