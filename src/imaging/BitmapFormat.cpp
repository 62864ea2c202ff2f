// Windows bitmaps: files with the "BM" header (read by Qt from the file, or
// from memory when the info header has a form Qt does not read), and packed
// DIBs, an info header with colours and pixels and no file header.

#include "imaging/ByteReader.h"
#include "imaging/Dib.h"
#include "imaging/ImageFormat.h"
#include "imaging/colour/FileColours.h"

#include <QFile>

namespace vz::picture {

namespace {

constexpr qsizetype kFileHeader = 14;

// A bitmap decoded from memory (see decodeDib()).
class DibSource final : public ImageSource
{
public:
    DibSource(QByteArray bytes, qsizetype dibStart, const DibInfo &info, qint64 bitsOffset)
        : m_bytes(std::move(bytes))
        , m_dibStart(dibStart)
        , m_info(info)
        , m_bitsOffset(bitsOffset)
    {
    }
    QSize size() const override { return QSize(m_info.width, m_info.height); }
    Result<QImage> read(const QRect &region) override
    {
        auto image = decodeDib(QByteArrayView(m_bytes).sliced(m_dibStart), m_info, m_bitsOffset);
        if (!image || region == image.value().rect())
            return image;
        return image.value().copy(region);
    }

private:
    QByteArray m_bytes;
    qsizetype m_dibStart;
    DibInfo m_info;
    qint64 m_bitsOffset;
};

// Qt's reader decodes intact bitmaps straight from the file; the others are
// read into memory.
Result<std::unique_ptr<ImageSource>> openDib(QFile &file, qsizetype dibStart, const DibInfo &info, qint64 bitsOffset)
{
    const bool whole = file.size() - dibStart - bitsOffset >= info.uncompressedBytes;
    if (dibStart > 0 && whole && !decodesOwnPixels(info) && info.headerSize != 52 && info.headerSize != 56
        && info.headerSize != 64)
        return QtImageSource::open(file, "bmp");
    auto bytes = readWhole(file);
    if (!bytes)
        return Failure{bytes.error()};
    return std::unique_ptr<ImageSource>(std::make_unique<DibSource>(std::move(bytes).value(), dibStart, info, bitsOffset));
}

class BitmapFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override { return head.startsWith("BM"); }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        const QByteArray head = file.peek(kHeadBytes);
        const ByteReader in(head);
        if (!in.has(0, 18))
            return damaged(QStringLiteral("the bitmap header is cut short"));
        const qint64 bitsOffset = in.u32(10);
        // Tell an absurd size apart from a broken header, for the reason given.
        if (in.u32(kFileHeader) >= 40 && in.has(kFileHeader, 12)) {
            const qint64 w = in.i32(kFileHeader + 4);
            const qint64 h = qAbs(qint64(in.i32(kFileHeader + 8)));
            if (w > 0 && h > 0 && !sizeIsSane(w, h))
                return tooLarge(w, h);
        }
        const auto info = readDibInfo(in.bytes(kFileHeader));
        if (!info)
            return damaged(QStringLiteral("the bitmap header is not valid"));
        if (bitsOffset < kFileHeader + info->headerSize || bitsOffset > file.size())
            return damaged(QStringLiteral("the bitmap header points outside the file"));
        ColourProfile colour = bitmapColours(file, in.bytes(kFileHeader), kFileHeader);
        if (!file.seek(0))
            return damaged(file.errorString());
        auto source = openDib(file, kFileHeader, *info, bitsOffset - kFileHeader);
        if (source)
            source.value()->setColour(std::move(colour));
        return source;
    }
};

class PackedBitmapFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override { return readDibInfo(head).has_value(); }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        const auto info = readDibInfo(file.peek(kHeadBytes));
        if (!info)
            return damaged(QStringLiteral("the bitmap header is not valid"));
        return openDib(file, 0, *info, info->packedBitsOffset);
    }
};

} // namespace

std::unique_ptr<ImageFormat> bitmapFormat()
{
    return std::make_unique<BitmapFormat>();
}

std::unique_ptr<ImageFormat> packedBitmapFormat()
{
    return std::make_unique<PackedBitmapFormat>();
}

} // namespace vz::picture
