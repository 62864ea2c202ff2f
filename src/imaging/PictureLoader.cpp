#include "imaging/PictureLoader.h"

#include "imaging/ImageFormat.h"
#include "imaging/Limits.h"
#include "imaging/PixelFormat.h"
#include "imaging/colour/ColourConversion.h"

#include <QFile>
#include <QFileInfo>

namespace vz {

using namespace picture;

namespace {

Picture failure(const QString &reason)
{
    Picture p;
    p.error = reason;
    return p;
}

Picture picture(QImage image, QSize natural, QPoint offset)
{
    Picture p;
    p.image = thirtyTwoBit(std::move(image));
    p.naturalSize = natural;
    p.offset = offset;
    return p;
}

// What is decoded: the whole picture, the part a view shows, the picture
// fitted into a screen, or stretched over a box.
struct Request
{
    enum Kind { Whole, Visible, Fitted, Stretched } kind = Whole;
    QSize size;
    QByteArray screenProfile;
    const CancelFlag *cancel = nullptr;
};

ColourProfile screenColours(const Request &request)
{
    if (request.screenProfile.isEmpty())
        return {};
    return ColourProfile::fromIcc(request.screenProfile, ColourProfile::Model::Rgb, "the screen");
}

// Colours are converted once the picture has the size it is shown at, so
// that only the pixels shown are; CMYK samples before they are scaled, as
// Qt scales RGB only.
Picture scaled(ImageSource &source, QSize target, bool preview, const ColourProfile &screen)
{
    auto pixels = preview ? source.readPreview(target) : source.readScaled(target);
    if (!pixels)
        return failure(pixels.error());
    const bool cmyk = source.colour().model() == ColourProfile::Model::Cmyk;
    QImage image = std::move(pixels).value();
    if (cmyk)
        image = convertColours(std::move(image), source.colour(), screen);
    image = thirtyTwoBit(std::move(image));
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!cmyk)
        image = convertColours(std::move(image), source.colour(), screen);
    return picture(std::move(image), target, {});
}

Picture decode(QFile &file, const ImageFormat &format, const Request &request)
{
    auto opened = format.open(file);
    if (!opened)
        return failure(opened.error());
    ImageSource &source = *opened.value();
    source.setCancelFlag(request.cancel);
    const QSize natural = source.size();
    if (!sizeIsSane(natural.width(), natural.height()))
        return failure(tooLarge(natural.width(), natural.height()).reason);
    // Formats that cannot stop half-way at least do not start.
    if (isCancelled(request.cancel))
        return failure(QStringLiteral("The decode was given up."));
    const ColourProfile screen = screenColours(request);
    if (request.kind == Request::Stretched && !request.size.isEmpty())
        return scaled(source, request.size, true, screen);
    if (request.kind == Request::Fitted && PictureLoader::fittedSize(natural, request.size) != natural)
        return scaled(source, PictureLoader::fittedSize(natural, request.size), false, screen);
    const QRect area = request.kind == Request::Visible ? PictureLoader::visibleRect(natural, request.size)
                                                        : QRect(QPoint(0, 0), natural);
    if (area.isEmpty())
        return picture({}, natural, {});
    auto pixels = source.read(area);
    if (!pixels)
        return failure(pixels.error());
    return picture(convertColours(std::move(pixels).value(), source.colour(), screen), natural, area.topLeft());
}

Picture decode(const QString &fileName, const Request &request)
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
    const QByteArray head = file.peek(kHeadBytes);
    if (head.isEmpty())
        return failure(QStringLiteral("The file is empty."));
    for (const auto &format : standardFormats())
        if (format->canRead(head))
            return decode(file, *format, request);
    return failure(QStringLiteral("The file is not a picture in a format that can be shown "
                                  "(bitmap, JPEG, GIF, icon, metafile, PNG, WebP, TIFF, HEIF or AVIF)."));
}

} // namespace

Picture PictureLoader::load(const QString &fileName, const QByteArray &screenProfile)
{
    return decode(fileName, {Request::Whole, {}, screenProfile});
}

Picture PictureLoader::loadVisible(const QString &fileName, QSize view, const QByteArray &screenProfile,
                                   const CancelFlag *cancel)
{
    return decode(fileName, {Request::Visible, view, screenProfile, cancel});
}

Picture PictureLoader::loadFitted(const QString &fileName, QSize screen, const QByteArray &screenProfile,
                                  const CancelFlag *cancel)
{
    return decode(fileName, {Request::Fitted, screen, screenProfile, cancel});
}

Picture PictureLoader::loadPreview(const QString &fileName, QSize box, const QByteArray &screenProfile)
{
    return decode(fileName, {Request::Stretched, box, screenProfile});
}

QSize PictureLoader::fittedSize(QSize naturalSize, QSize screen)
{
    if (screen.isEmpty() || (naturalSize.width() <= screen.width() && naturalSize.height() <= screen.height()))
        return naturalSize;
    // A very long, thin picture keeps at least one pixel across.
    return naturalSize.scaled(screen, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
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

} // namespace vz
