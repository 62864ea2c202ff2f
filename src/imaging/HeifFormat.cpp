// HEIF files (HEIC from phones, and AVIF), read by libheif: the primary
// image, turned and mirrored as its transform properties say. libheif
// applies them while decoding and gives the image's size as it comes out;
// the EXIF orientation such a file may also carry only repeats them and is
// not applied again. Deeper samples come out as 8 bits (the interleaved
// chroma asked for has 8). libheif turns YCbCr into RGB by the matrix of the
// file's nclx box; the colour space that box or an ICC profile names is
// handed on to be converted (see imaging/colour/).

#include "imaging/HeifLibrary.h"
#include "imaging/ImageFormat.h"

#include <QFile>
#include <cstring>
#include <vector>

namespace vz::picture {

namespace {

// The library's functions; called only by what they made, or after canRead()
// or open() found the library.
const heif::Functions &api()
{
    return heif::library().value();
}

struct HeifFree
{
    void operator()(heif_context *context) const { api().heif_context_free(context); }
    void operator()(const heif_image_handle *handle) const { api().heif_image_handle_release(handle); }
    void operator()(const heif_image *image) const { api().heif_image_release(image); }
};

template <typename T>
using HeifPtr = std::unique_ptr<T, HeifFree>;

Failure failure(const heif_error &error)
{
    const QString message = QString::fromUtf8(error.message).trimmed();
    if (error.subcode == heif_suberror_Security_limit_exceeded)
        return Failure{QStringLiteral("The picture is too large: %1.").arg(message)};
    // A coding this libheif has no decoder for, or a feature it lacks.
    if (error.code == heif_error_Unsupported_feature || error.code == heif_error_Unsupported_filetype)
        return Failure{QStringLiteral("The picture cannot be shown: %1.").arg(message)};
    return damaged(message);
}

// The colours of the image behind handle, as its colr property gives them:
// an ICC profile, or an nclx box's primaries and transfer (the box may also
// say sRGB, or nothing).
ColourProfile colourOf(const heif_image_handle *handle)
{
    if (const size_t bytes = api().heif_image_handle_get_raw_color_profile_size(handle); bytes > 0) {
        QByteArray icc(qsizetype(bytes), Qt::Uninitialized);
        if (api().heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return ColourProfile::fromIcc(std::move(icc), ColourProfile::Model::Rgb, "a HEIF picture");
    }
    heif_color_profile_nclx *nclx = nullptr;
    if (api().heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok)
        return {};
    const ColourProfile profile = ColourProfile::fromNclx(nclx->color_primaries, nclx->transfer_characteristics);
    api().heif_nclx_color_profile_free(nclx);
    return profile;
}

class HeifSource final : public ImageSource
{
public:
    explicit HeifSource(QByteArray bytes)
        : m_bytes(std::move(bytes))
        , m_context(api().heif_context_alloc())
    {
    }

    std::optional<Failure> start()
    {
        api().heif_context_set_maximum_image_size_limit(m_context.get(), kMaxSide);
        heif_error error = api().heif_context_read_from_memory_without_copy(m_context.get(), m_bytes.constData(),
                                                                            size_t(m_bytes.size()), nullptr);
        heif_image_handle *handle = nullptr;
        if (error.code == heif_error_Ok)
            error = api().heif_context_get_primary_image_handle(m_context.get(), &handle);
        if (error.code != heif_error_Ok)
            return failure(error);
        m_handle.reset(handle);
        m_size = QSize(api().heif_image_handle_get_width(handle), api().heif_image_handle_get_height(handle));
        if (m_size.isEmpty())
            return damaged(QStringLiteral("the picture has no size"));
        setColour(colourOf(handle));
        // Before it converts them, the decoder holds up to four full planes
        // of samples (colour and alpha, nothing subsampled).
        const qint64 sampleBytes = api().heif_image_handle_get_luma_bits_per_pixel(handle) > 8 ? 2 : 1;
        if (qint64(m_size.width()) * m_size.height() * 4 * sampleBytes > kMaxDecoderBytes)
            return tooLarge(m_size.width(), m_size.height());
        return std::nullopt;
    }

    QSize size() const override { return m_size; }

    Result<QImage> read(const QRect &region) override { return decode(m_handle.get(), region); }

    // Phones keep a small copy of the photo beside it, decoded instead of the
    // photo when it serves.
    Result<QImage> readPreview(QSize atLeast) override
    {
        const int count = api().heif_image_handle_get_number_of_thumbnails(m_handle.get());
        std::vector<heif_item_id> ids(size_t(std::max(count, 0)));
        api().heif_image_handle_get_list_of_thumbnail_IDs(m_handle.get(), ids.data(), count);
        for (const heif_item_id id : ids) {
            heif_image_handle *found = nullptr;
            if (api().heif_image_handle_get_thumbnail(m_handle.get(), id, &found).code != heif_error_Ok)
                continue;
            const HeifPtr<const heif_image_handle> thumbnail(found);
            const QSize small(api().heif_image_handle_get_width(found), api().heif_image_handle_get_height(found));
            if (!copyServes(small, m_size, atLeast))
                continue;
            if (auto pixels = decode(found, QRect(QPoint(0, 0), small))) {
                // A copy without colours of its own has the picture's.
                if (api().heif_image_handle_get_color_profile_type(found) != heif_color_profile_type_not_present)
                    setColour(colourOf(found));
                return pixels;
            }
        }
        return readScaled(atLeast);
    }

private:
    // The pixels of region of the image behind handle, decoded whole.
    static Result<QImage> decode(const heif_image_handle *handle, const QRect &region)
    {
        const bool alpha = api().heif_image_handle_has_alpha_channel(handle);
        heif_image *decoded = nullptr;
        const heif_error error = api().heif_decode_image(handle, &decoded, heif_colorspace_RGB,
                                                         alpha ? heif_chroma_interleaved_RGBA
                                                               : heif_chroma_interleaved_RGB,
                                                         nullptr);
        if (error.code != heif_error_Ok)
            return failure(error);
        const HeifPtr<const heif_image> image(decoded);
        int stride = 0;
        const uint8_t *plane = api().heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
        const QRect decodedRect(0, 0, api().heif_image_get_width(decoded, heif_channel_interleaved),
                                api().heif_image_get_height(decoded, heif_channel_interleaved));
        if (!plane || !decodedRect.contains(region))
            return damaged(QStringLiteral("the picture decodes smaller than its declared size"));

        const QImage::Format format = !alpha                                        ? QImage::Format_RGB888
            : api().heif_image_is_premultiplied_alpha(decoded) ? QImage::Format_RGBA8888_Premultiplied
                                                               : QImage::Format_RGBA8888;
        QImage pixels(region.size(), format);
        if (pixels.isNull())
            return Failure{QStringLiteral("There is not enough memory for the picture.")};
        const qsizetype pixelBytes = alpha ? 4 : 3;
        for (int y = 0; y < region.height(); ++y)
            std::memcpy(pixels.scanLine(y), plane + qsizetype(region.y() + y) * stride + region.x() * pixelBytes,
                        size_t(region.width() * pixelBytes));
        return pixels;
    }

    QByteArray m_bytes;
    HeifPtr<heif_context> m_context;
    HeifPtr<const heif_image_handle> m_handle;
    QSize m_size;
};

class HeifFormat final : public ImageFormat
{
public:
    bool canRead(QByteArrayView head) const override
    {
        // A HEIF file starts with its file type box; no other file is worth
        // loading the library for.
        if (head.size() < 12 || head.sliced(4, 4) != "ftyp")
            return false;
        // Without the library, open() gives the reason.
        if (!heif::library())
            return true;
        const auto kind = api().heif_check_filetype(reinterpret_cast<const uint8_t *>(head.data()), int(head.size()));
        return kind == heif_filetype_yes_supported || kind == heif_filetype_yes_unsupported;
    }

    Result<std::unique_ptr<ImageSource>> open(QFile &file) const override
    {
        if (const auto &loaded = heif::library(); !loaded)
            return Failure{loaded.error()};
        auto bytes = readWhole(file);
        if (!bytes)
            return Failure{bytes.error()};
        auto source = std::make_unique<HeifSource>(std::move(bytes).value());
        if (auto failed = source->start())
            return std::move(*failed);
        return std::unique_ptr<ImageSource>(std::move(source));
    }
};

} // namespace

std::unique_ptr<ImageFormat> heifFormat()
{
    return std::make_unique<HeifFormat>();
}

} // namespace vz::picture
