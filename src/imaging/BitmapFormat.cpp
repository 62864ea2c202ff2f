// Windows bitmaps: files with the "BM" header (read by Qt from the file, or
// from memory when the info header has a form Qt does not read), and packed
// DIBs, an info header with colours and pixels and no file header.

#include "imaging/ByteReader.h"
#include "imaging/Dib.h"
#include "imaging/ImageFormat.h"

#include <QFile>

namespace vz::picture {

namespace {

constexpr qsizetype kFileHeader = 14;

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
        if (!needsRewrite(*info))
            return QtImageSource::open(file, "bmp");
        auto bytes = readWhole(file);
        if (!bytes)
            return Failure{bytes.error()};
        const QByteArrayView dib = QByteArrayView(bytes.value()).sliced(kFileHeader);
        return QtImageSource::open(bmpFile(dib, *info, bitsOffset - kFileHeader), "bmp");
    }

private:
    static bool needsRewrite(const DibInfo &info)
    {
        return info.headerSize == 52 || info.headerSize == 56 || info.headerSize == 64;
    }
};

class PackedBitmapFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override { return readDibInfo(head).has_value(); }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        auto bytes = readWhole(file);
        if (!bytes)
            return Failure{bytes.error()};
        const auto info = readDibInfo(bytes.value());
        if (!info)
            return damaged(QStringLiteral("the bitmap header is not valid"));
        return QtImageSource::open(bmpFile(bytes.value(), *info, info->packedBitsOffset), "bmp");
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
