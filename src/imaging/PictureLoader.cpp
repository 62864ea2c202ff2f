#include "imaging/PictureLoader.h"

#include "imaging/Dib.h"
#include "imaging/ExifOrientation.h"
#include "imaging/GifFile.h"
#include "imaging/IconFile.h"
#include "imaging/JpegDecoder.h"
#include "imaging/Limits.h"
#include "imaging/PixelFormat.h"
#include "imaging/WmfPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <optional>

namespace vz {

using namespace picture;

namespace {

enum class Format { Unknown, Bitmap, PackedDib, Jpeg, Gif, Icon, Metafile };

// Icon decoding tries this many of the largest images before giving up.
constexpr int kIconAttempts = 8;

Format sniff(QByteArrayView head)
{
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(head.data() + at); };
    if (head.startsWith("BM"))
        return Format::Bitmap;
    if (head.size() >= 3 && quint8(head[0]) == 0xFF && quint8(head[1]) == 0xD8 && quint8(head[2]) == 0xFF)
        return Format::Jpeg;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return Format::Gif;
    if (head.size() >= 6 && u16(0) == 0 && u16(2) == 1 && u16(4) > 0)
        return Format::Icon;
    if (WmfPicture::looksLikeMetafile(head))
        return Format::Metafile;
    if (readDibInfo(head))
        return Format::PackedDib;
    return Format::Unknown;
}

Picture failure(const QString &reason)
{
    Picture p;
    p.error = reason;
    return p;
}

Picture damaged(const QString &detail)
{
    return failure(QStringLiteral("The picture is damaged: %1.").arg(detail));
}

Picture tooLarge(qint64 width, qint64 height)
{
    return failure(QStringLiteral("The picture is too large: %1 x %2 pixels.").arg(width).arg(height));
}

Picture notAPicture()
{
    return failure(QStringLiteral("The file is not a picture in a format that can be shown "
                                  "(bitmap, JPEG, GIF, icon or metafile)."));
}

// The rectangle to decode: the whole picture, or its visible part.
QRect wanted(QSize natural, const std::optional<QSize> &view)
{
    return view ? PictureLoader::visibleRect(natural, *view) : QRect(QPoint(0, 0), natural);
}

Picture picture(QImage image, QSize natural, QPoint offset)
{
    Picture p;
    p.image = thirtyTwoBit(std::move(image));
    p.naturalSize = natural;
    p.offset = offset;
    return p;
}

std::optional<QByteArray> readWhole(QFile &file, qint64 limit)
{
    if (file.size() > limit)
        return std::nullopt;
    return file.readAll();
}

Picture decodeJpeg(QFile &file, const std::optional<QSize> &view)
{
    JpegDecoder decoder(file);
    if (!decoder.readHeader())
        return damaged(decoder.errorString());
    const QSize stored = decoder.storedSize();
    if (!sizeIsSane(stored.width(), stored.height()))
        return tooLarge(stored.width(), stored.height());
    const int orientation = decoder.orientation();
    const QSize natural = orientedSize(stored, orientation);
    const QRect area = wanted(natural, view);
    if (area.isEmpty())
        return picture({}, natural, {});
    QImage pixels = decoder.decode(storedRect(area, stored, orientation));
    if (pixels.isNull())
        return damaged(decoder.errorString());
    return picture(applyOrientation(std::move(pixels), orientation), natural, area.topLeft());
}

Picture decodeWithQt(QIODevice &device, const char *format, const std::optional<QSize> &view)
{
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(int(kMaxDecoderBytes / (1024 * 1024)));
    // Qt's BMP reader gives a top-down bitmap's height as negative.
    const QSize natural(qAbs(reader.size().width()), qAbs(reader.size().height()));
    if (natural.isEmpty())
        return damaged(reader.errorString());
    if (!sizeIsSane(natural.width(), natural.height()))
        return tooLarge(natural.width(), natural.height());
    const QRect area = wanted(natural, view);
    if (area.isEmpty())
        return picture({}, natural, {});
    if (area.size() != natural)
        reader.setClipRect(area);
    QImage image = reader.read();
    if (image.isNull())
        return damaged(reader.errorString());
    // A GIF's first frame may come out smaller than its screen; the picture
    // keeps the size its header gives.
    if (image.size() != area.size())
        image = image.copy(QRect(QPoint(0, 0), area.size()));
    return picture(std::move(image), natural, area.topLeft());
}

Picture decodeInMemory(QByteArray bytes, const char *format, const std::optional<QSize> &view)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeWithQt(buffer, format, view);
}

Picture decodeBitmap(QFile &file, QByteArrayView head, const std::optional<QSize> &view)
{
    if (head.size() < 18)
        return damaged(QStringLiteral("the bitmap header is cut short"));
    const qint64 bitsOffset = qFromLittleEndian<quint32>(head.data() + 10);
    const QByteArrayView infoHeader = head.sliced(14);
    const quint32 headerSize = qFromLittleEndian<quint32>(infoHeader.data());
    // Tell an absurd size apart from a broken header, for the reason given.
    if (headerSize >= 40 && infoHeader.size() >= 12) {
        const qint64 w = qFromLittleEndian<qint32>(infoHeader.data() + 4);
        const qint64 h = qAbs(qint64(qFromLittleEndian<qint32>(infoHeader.data() + 8)));
        if (w > 0 && h > 0 && !sizeIsSane(w, h))
            return tooLarge(w, h);
    }
    const auto info = readDibInfo(infoHeader);
    if (!info)
        return damaged(QStringLiteral("the bitmap header is not valid"));
    if (bitsOffset < 14 + info->headerSize || bitsOffset > file.size())
        return damaged(QStringLiteral("the bitmap header points outside the file"));
    if (info->headerSize == 52 || info->headerSize == 56 || info->headerSize == 64) {
        const auto bytes = readWhole(file, kMaxFileBytes);
        if (!bytes)
            return failure(QStringLiteral("The file is too large to be a picture."));
        return decodeInMemory(bmpFile(QByteArrayView(*bytes).sliced(14), *info, bitsOffset - 14),
                              "bmp", view);
    }
    return decodeWithQt(file, "bmp", view);
}

Picture decodePackedDib(QFile &file, const std::optional<QSize> &view)
{
    const auto bytes = readWhole(file, kMaxFileBytes);
    if (!bytes)
        return failure(QStringLiteral("The file is too large to be a picture."));
    const auto info = readDibInfo(*bytes);
    if (!info)
        return damaged(QStringLiteral("the bitmap header is not valid"));
    return decodeInMemory(bmpFile(*bytes, *info, info->packedBitsOffset), "bmp", view);
}

Picture decodeGif(QFile &file, const std::optional<QSize> &view)
{
    auto bytes = readWhole(file, kMaxFileBytes);
    if (!bytes)
        return failure(QStringLiteral("The file is too large to be a picture."));
    return decodeInMemory(withSaneScreen(std::move(*bytes)), "gif", view);
}

Picture decodeIcon(QFile &file, const std::optional<QSize> &view)
{
    const auto bytes = readWhole(file, kMaxFileBytes);
    if (!bytes)
        return failure(QStringLiteral("The file is too large to be a picture."));
    const QList<IconImage> images = iconImages(*bytes);
    Picture result = damaged(QStringLiteral("the icon holds no intact image"));
    for (qsizetype i = 0; i < images.size() && i < kIconAttempts; ++i) {
        result = decodeInMemory(singleIconFile(*bytes, images[i]), "ico", view);
        if (result.ok())
            return result;
    }
    return result;
}

Picture decodeMetafile(QFile &file, const std::optional<QSize> &view)
{
    const auto bytes = readWhole(file, WmfPicture::kMaxFileBytes);
    if (!bytes)
        return failure(QStringLiteral("The file is too large to be a metafile."));
    WmfPicture metafile;
    if (!metafile.open(*bytes))
        return damaged(metafile.errorString());
    const QSize natural = metafile.size();
    const QRect area = wanted(natural, view);
    if (area.isEmpty())
        return picture({}, natural, {});
    QImage image = metafile.render(area);
    if (image.isNull())
        return failure(QStringLiteral("Not enough memory for the picture."));
    return picture(std::move(image), natural, area.topLeft());
}

Picture decode(const QString &fileName, const std::optional<QSize> &view)
{
    if (fileName.isEmpty())
        return {};
    const QFileInfo about(fileName);
    if (!about.exists())
        return failure(QStringLiteral("The file does not exist."));
    if (about.isDir())
        return failure(QStringLiteral("The name is a folder, not a picture file."));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("The file cannot be opened: %1.").arg(file.errorString()));
    const QByteArray head = file.peek(256);
    if (head.isEmpty())
        return failure(QStringLiteral("The file is empty."));
    switch (sniff(head)) {
    case Format::Bitmap: return decodeBitmap(file, head, view);
    case Format::PackedDib: return decodePackedDib(file, view);
    case Format::Jpeg: return decodeJpeg(file, view);
    case Format::Gif: return decodeGif(file, view);
    case Format::Icon: return decodeIcon(file, view);
    case Format::Metafile: return decodeMetafile(file, view);
    case Format::Unknown: break;
    }
    return notAPicture();
}

} // namespace

Picture PictureLoader::load(const QString &fileName)
{
    return decode(fileName, std::nullopt);
}

Picture PictureLoader::loadVisible(const QString &fileName, QSize view)
{
    return decode(fileName, view);
}

QRect PictureLoader::visibleRect(QSize naturalSize, QSize view)
{
    if (naturalSize.isEmpty() || view.isEmpty())
        return {};
    auto span = [](int whole, int seen) -> std::pair<int, int> {
        if (whole <= seen)
            return {0, whole};
        const int spare = whole - seen;
        return {spare / 2, seen + spare % 2};
    };
    const auto [x, width] = span(naturalSize.width(), view.width());
    const auto [y, height] = span(naturalSize.height(), view.height());
    return QRect(x, y, width, height);
}

Picture PictureLoader::loadFitted(const QString &fileName, QSize screen)
{
    Picture whole = load(fileName);
    if (!whole.ok() || whole.empty())
        return whole;
    const QSize fitted = fittedSize(whole.naturalSize, screen);
    if (fitted == whole.naturalSize)
        return whole;
    whole.image = whole.image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    whole.naturalSize = fitted;
    return whole;
}

QSize PictureLoader::fittedSize(QSize naturalSize, QSize screen)
{
    if (screen.isEmpty() || (naturalSize.width() <= screen.width() && naturalSize.height() <= screen.height()))
        return naturalSize;
    // A very long, thin picture keeps at least one pixel across.
    return naturalSize.scaled(screen, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

} // namespace vz
