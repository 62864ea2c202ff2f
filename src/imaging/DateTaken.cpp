#include "imaging/DateTaken.h"

#include "imaging/ByteReader.h"
#include "imaging/ExifOrientation.h"
#include "imaging/HeifLibrary.h"

#include <QFile>
#include <memory>
#include <vector>

namespace vz::picture {

namespace {

// The APP1 "Exif" payload of a JPEG, looked for in the segments before the
// pixels.
QByteArrayView jpegExif(const ByteReader &in)
{
    for (qsizetype at = 2; in.has(at, 4) && in.u8(at) == 0xFF;) {
        const quint8 marker = in.u8(at + 1);
        if (marker == 0xDA || marker == 0xD9)
            break;
        const qsizetype length = in.u16(at + 2);
        if (marker == 0xE1 && in.bytes(at + 4, 6) == QByteArrayView("Exif\0\0", 6))
            return in.bytes(at + 10, length - 8);
        at += 2 + length;
    }
    return {};
}

// The payload of the first chunk of the given type from offset at: PNG's
// (length, type, data, CRC) or RIFF's (type, length, data padded to even).
QByteArrayView chunk(const ByteReader &in, qsizetype at, QByteArrayView wanted, bool riff)
{
    while (in.has(at, 8)) {
        const QByteArrayView type = in.bytes(riff ? at : at + 4, 4);
        const qsizetype length = riff ? qsizetype(in.u32(at + 4)) : qsizetype(qFromBigEndian<quint32>(in.data().data() + at));
        if (type == wanted)
            return in.bytes(at + 8, length);
        at += 8 + length + (riff ? length % 2 : 4);
    }
    return {};
}

// A HEIF's Exif item starts with the offset of the TIFF header behind it.
QDateTime heifDate(QByteArrayView bytes)
{
    const auto &loaded = heif::library();
    if (!loaded)
        return {};
    const heif::Functions &api = loaded.value();
    const std::unique_ptr<heif_context, decltype(&heif_context_free)> context(api.heif_context_alloc(),
                                                                              api.heif_context_free);
    heif_image_handle *found = nullptr;
    if (api.heif_context_read_from_memory_without_copy(context.get(), bytes.data(), size_t(bytes.size()), nullptr).code
            != heif_error_Ok
        || api.heif_context_get_primary_image_handle(context.get(), &found).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> handle(
        found, api.heif_image_handle_release);
    heif_item_id id = 0;
    if (api.heif_image_handle_get_list_of_metadata_block_IDs(found, "Exif", &id, 1) < 1)
        return {};
    std::vector<char> exif(api.heif_image_handle_get_metadata_size(found, id));
    if (exif.size() < 4 || api.heif_image_handle_get_metadata(found, id, exif.data()).code != heif_error_Ok)
        return {};
    const ByteReader in(QByteArrayView(exif.data(), qsizetype(exif.size())), ByteReader::Order::Big);
    return exifDateTaken(in.bytes(4 + qsizetype(in.u32(0))));
}

} // namespace

QDateTime dateTaken(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return {};
    const uchar *mapped = file.map(0, file.size());
    if (!mapped)
        return {};
    const ByteReader in(QByteArrayView(mapped, file.size()));
    const QByteArrayView head = in.bytes(0, 16);
    QByteArrayView exif;
    if (head.startsWith("\xFF\xD8"))
        exif = jpegExif(in);
    else if (head.startsWith("\x89PNG\r\n\x1A\n"))
        exif = chunk(in, 8, "eXIf", false);
    else if (head.startsWith("RIFF") && head.sliced(8).startsWith("WEBP"))
        exif = chunk(in, 12, "EXIF", true);
    else if (head.startsWith("II*") || head.startsWith(QByteArrayView("MM\0*", 4)))
        exif = in.data();
    else if (head.sliced(4).startsWith("ftyp"))
        return heifDate(in.data());
    // Some writers keep the "Exif\0\0" that only a JPEG segment should have.
    const QByteArrayView prefix("Exif\0\0", 6);
    return exifDateTaken(exif.startsWith(prefix) ? exif.sliced(prefix.size()) : exif);
}

} // namespace vz::picture
