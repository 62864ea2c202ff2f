#include "imaging/JpegDecoder.h"

#include "imaging/ExifOrientation.h"
#include "imaging/Limits.h"
#include "imaging/colour/ColourProfile.h"

#include <QIODevice>
#include <QSysInfo>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return;
// it jumps back to the setjmp of the guarded call that is running. Functions
// named guarded* therefore hold only trivially destructible locals, and
// everything with a destructor lives outside them.

namespace vz::picture {

namespace {

constexpr std::size_t kInputBufferBytes = 64 * 1024;

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct Source
{
    jpeg_source_mgr pub;
    QIODevice *device;
    const CancelFlag *cancel;
    JOCTET buffer[kInputBufferBytes];
};

void onError(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (corrupt data, premature end) are not fatal: the decoder fills in
// what is missing, as every viewer does. Nothing is printed.
void onMessage(j_common_ptr, int) {}
void onOutput(j_common_ptr) {}

// The message of a decode given up; never shown, since nobody waits for it.
constexpr char kGivenUp[] = "the decode was given up";

[[noreturn]] void giveUp(j_decompress_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::strcpy(errors->message, kGivenUp);
    std::longjmp(errors->jump, 1);
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// The library reports its progress as it decodes each band of blocks of a
// progressive picture's scans (decoded whole before its first row comes out;
// from a small file, read in a few blocks, that takes as long as from a large
// one) and as each row comes out: the one place a decode is given up, besides
// reading input.
void checkCancel(j_common_ptr common)
{
    auto *info = reinterpret_cast<j_decompress_ptr>(common);
    if (isCancelled(reinterpret_cast<Source *>(info->src)->cancel))
        giveUp(info);
}

boolean fillInput(j_decompress_ptr info)
{
    auto *source = reinterpret_cast<Source *>(info->src);
    if (isCancelled(source->cancel))
        giveUp(info);
    const qint64 n = source->device->read(reinterpret_cast<char *>(source->buffer),
                                          qint64(kInputBufferBytes));
    if (n <= 0) {
        // A truncated file ends here: an end-of-image marker lets the decoder
        // finish with grey where the data is missing.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        source->pub.next_input_byte = source->buffer;
        source->pub.bytes_in_buffer = 2;
        return TRUE;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = std::size_t(n);
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count)
{
    auto *source = reinterpret_cast<Source *>(info->src);
    if (count <= 0)
        return;
    if (std::size_t(count) <= source->pub.bytes_in_buffer) {
        source->pub.next_input_byte += count;
        source->pub.bytes_in_buffer -= std::size_t(count);
        return;
    }
    const qint64 rest = count - qint64(source->pub.bytes_in_buffer);
    source->pub.bytes_in_buffer = 0;
    source->pub.next_input_byte = source->buffer;
    source->device->skip(rest);
}

// Adobe writes CMYK inverted (with an APP14 marker); others write it plain.
void cmykToRgb32(const unsigned char *cmyk, unsigned char *out, int width, bool inverted)
{
    auto *pixels = reinterpret_cast<quint32 *>(out);
    for (int x = 0; x < width; ++x, cmyk += 4) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        pixels[x] = qRgb(int(c * k / 255), int(m * k / 255), int(y * k / 255));
    }
}

// The samples as ink amounts, whichever way they are written.
void cmykSamples(const unsigned char *cmyk, unsigned char *out, int width, bool inverted)
{
    const unsigned char flip = inverted ? 255 : 0;
    for (int i = 0; i < width * 4; ++i)
        out[i] = cmyk[i] ^ flip;
}

} // namespace

struct JpegDecoder::State
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    Source source;
    jpeg_progress_mgr progress{};
    bool created = false;
    bool headerRead = false;
    bool decoded = false;
    int orientation = 1;
    QByteArray thumbnail;
};

JpegDecoder::JpegDecoder(QIODevice &device)
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    std::memset(&s.info, 0, sizeof s.info);
    s.info.err = jpeg_std_error(&s.errors.pub);
    s.errors.pub.error_exit = onError;
    s.errors.pub.emit_message = onMessage;
    s.errors.pub.output_message = onOutput;
    s.errors.message[0] = '\0';
    s.source.device = &device;
    s.source.cancel = nullptr;
    s.source.pub.init_source = initSource;
    s.source.pub.fill_input_buffer = fillInput;
    s.source.pub.skip_input_data = skipInput;
    s.source.pub.resync_to_restart = jpeg_resync_to_restart;
    s.source.pub.term_source = termSource;
    s.source.pub.bytes_in_buffer = 0;
    s.source.pub.next_input_byte = nullptr;
}

JpegDecoder::~JpegDecoder()
{
    if (m_state->created)
        jpeg_destroy_decompress(&m_state->info);
}

void JpegDecoder::fail()
{
    m_error = QString::fromLatin1(m_state->errors.message);
    if (m_error.isEmpty())
        m_error = QStringLiteral("the JPEG data cannot be decoded");
}

bool JpegDecoder::readHeader()
{
    if (m_state->headerRead)
        return true;
    if (!guardedReadHeader()) {
        fail();
        return false;
    }
    m_state->headerRead = true;
    return true;
}

bool JpegDecoder::guardedReadHeader()
{
    State &s = *m_state;
    if (setjmp(s.errors.jump))
        return false;
    jpeg_create_decompress(&s.info);
    s.created = true;
    s.info.mem->max_memory_to_use = long(kMaxDecoderBytes);
    s.info.src = &s.source.pub;
    s.progress.progress_monitor = checkCancel;
    s.info.progress = &s.progress;
    jpeg_save_markers(&s.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&s.info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&s.info, TRUE);
    for (jpeg_saved_marker_ptr m = s.info.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6
            && std::memcmp(m->data, "Exif\0\0", 6) == 0) {
            const QByteArrayView tiff(reinterpret_cast<const char *>(m->data) + 6, qsizetype(m->data_length) - 6);
            s.orientation = exifOrientation(tiff);
            s.thumbnail = exifThumbnail(tiff).toByteArray();
            break;
        }
    }
    return true;
}

QSize JpegDecoder::storedSize() const
{
    if (!m_state->headerRead)
        return {};
    return QSize(int(m_state->info.image_width), int(m_state->info.image_height));
}

int JpegDecoder::orientation() const
{
    return m_state->orientation;
}

bool JpegDecoder::isCmyk() const
{
    return m_state->headerRead && (m_state->info.jpeg_color_space == JCS_CMYK || m_state->info.jpeg_color_space == JCS_YCCK);
}

QByteArray JpegDecoder::thumbnail() const
{
    return m_state->thumbnail;
}

void JpegDecoder::setCancelFlag(const CancelFlag *flag)
{
    m_state->source.cancel = flag;
}

QByteArray JpegDecoder::iccProfile() const
{
    if (!m_state->headerRead)
        return {};
    QList<QByteArrayView> segments;
    for (jpeg_saved_marker_ptr m = m_state->info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 2)
            segments << QByteArrayView(reinterpret_cast<const char *>(m->data), qsizetype(m->data_length));
    return iccFromJpegSegments(segments);
}

bool JpegDecoder::isGrey() const
{
    return m_state->headerRead && m_state->info.num_components == 1;
}

QSize JpegDecoder::scaledSize(int scale) const
{
    // As libjpeg rounds its output size: up.
    const QSize stored = storedSize();
    return QSize((stored.width() + scale - 1) / scale, (stored.height() + scale - 1) / scale);
}

QImage JpegDecoder::decode(const QRect &rect, int scale, bool coarse)
{
    if (!m_state->headerRead || m_state->decoded || rect.isEmpty() || (scale != 1 && scale != 2 && scale != 4 && scale != 8)
        || !QRect(QPoint(0, 0), scaledSize(scale)).contains(rect)) {
        m_error = QStringLiteral("nothing to decode");
        return {};
    }
    m_state->decoded = true;
    QImage image(rect.size(), isCmyk() && m_cmykSamples ? QImage::Format_RGBA8888 : QImage::Format_RGB32);
    if (image.isNull()) {
        m_error = QStringLiteral("not enough memory for %1 x %2 pixels")
                      .arg(rect.width()).arg(rect.height());
        return {};
    }
    // Cropping widens the decoded columns to whole blocks on either side
    // (at most 32 pixels with 2x2 subsampling).
    std::vector<unsigned char> row(std::size_t(rect.width() + 64) * 4);
    if (!guardedDecode(image, row.data(), rect, scale, coarse && scale == 8)) {
        fail();
        return {};
    }
    return image;
}

bool JpegDecoder::guardedDecode(QImage &image, unsigned char *row, const QRect &rect, int scale, bool coarse)
{
    State &s = *m_state;
    if (setjmp(s.errors.jump))
        return false;
    jpeg_decompress_struct &info = s.info;
    const bool cmyk = isCmyk();
    const bool inverted = cmyk && info.saw_Adobe_marker;
    info.out_color_space = cmyk ? JCS_CMYK
                                : (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX
                                                                                 : JCS_EXT_XRGB);
    info.scale_num = 1;
    info.scale_denom = unsigned(scale);
    if (scale > 1) {
        // A reduced picture is smoothed down further by the caller: the
        // faster transform and plain upsampling of colour are not seen.
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    info.buffered_image = coarse && info.progressive_mode;
    // Guessing the missing detail of a coarse pass is lost at 1/8 anyway.
    info.do_block_smoothing = !info.buffered_image;
    jpeg_start_decompress(&info);
    if (info.buffered_image) {
        const auto averagesIn = [&info] {
            for (int c = 0; c < info.num_components; ++c)
                if (info.coef_bits[c][0] < 0)
                    return false;
            return true;
        };
        while (!averagesIn() && jpeg_consume_input(&info) != JPEG_REACHED_EOI) {
        }
        jpeg_start_output(&info, info.input_scan_number);
    }
    if (int(info.output_width) != scaledSize(scale).width() || int(info.output_height) != scaledSize(scale).height())
        ERREXIT(&info, JERR_BAD_DCTSIZE);

    JDIMENSION left = JDIMENSION(rect.x());
    JDIMENSION width = JDIMENSION(rect.width());
    if (width != info.output_width)
        jpeg_crop_scanline(&info, &left, &width);
    const int skipColumns = rect.x() - int(left);
    const bool direct = !cmyk && skipColumns == 0 && int(width) == rect.width();
    if (rect.y() > 0)
        jpeg_skip_scanlines(&info, JDIMENSION(rect.y()));
    for (int y = 0; y < rect.height(); ++y) {
        unsigned char *target = image.scanLine(y);
        JSAMPROW rows[1] = {direct ? target : row};
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            ERREXIT(&info, JERR_INPUT_EMPTY);
        if (direct)
            continue;
        const unsigned char *from = row + std::size_t(skipColumns) * 4;
        if (cmyk)
            (m_cmykSamples ? cmykSamples : cmykToRgb32)(from, target, rect.width(), inverted);
        else
            std::memcpy(target, from, std::size_t(rect.width()) * 4);
    }
    jpeg_abort_decompress(&info);
    return true;
}

} // namespace vz::picture
