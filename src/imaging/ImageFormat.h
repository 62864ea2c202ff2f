#pragma once
// What every picture format offers the loader: a reader that tells its files
// by their first bytes and opens one, and the opened file, which knows its
// size and decodes any part of it. A new format is one more ImageFormat in
// standardFormats(); QtImageSource serves the formats that Qt's image readers
// decode.

#include "imaging/Cancel.h"
#include "imaging/Limits.h"
#include "common/Result.h"
#include "imaging/colour/ColourProfile.h"

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

class QFile;

namespace vz::picture {

// One picture file, opened by its format.
class ImageSource
{
public:
    virtual ~ImageSource() = default;
    // The picture's natural size in pixels (after any EXIF rotation).
    virtual QSize size() const = 0;
    // The pixels of region, a part of QRect(QPoint(0, 0), size()). Only once.
    virtual Result<QImage> read(const QRect &region) = 0;
    // The whole picture, upright, at least atLeast in each direction or at its
    // natural size, whichever is smaller: a decoder that can decode a smaller
    // picture cheaply does so. The caller scales it to the size it wants. Only
    // once, instead of read().
    virtual Result<QImage> readScaled(QSize atLeast) { (void)atLeast; return read(QRect(QPoint(0, 0), size())); }
    // As readScaled, for a small preview: it may come from a copy of the
    // picture that the file keeps for the purpose.
    virtual Result<QImage> readPreview(QSize atLeast) { return readScaled(atLeast); }

    // A decode that reads or readScaled start afterwards stops early, with a
    // failure, once *flag is set (where the format allows: see Cancel.h).
    void setCancelFlag(const CancelFlag *flag) { m_cancel = flag; }
    // The colour space of the pixels last read, as the file names it (sRGB
    // when it names none); set by the format.
    const ColourProfile &colour() const { return m_colour; }
    void setColour(ColourProfile colour) { m_colour = std::move(colour); }

protected:
    const CancelFlag *cancelFlag() const { return m_cancel; }

private:
    const CancelFlag *m_cancel = nullptr;
    ColourProfile m_colour;
};

class ImageFormat
{
public:
    virtual ~ImageFormat() = default;
    // Whether the file is one of this format's, by its first kHeadBytes bytes.
    virtual bool canRead(QByteArrayView head) const = 0;
    // Reads as much of file as size() needs (file stays open while the
    // source lives); the reason, as a sentence, when it cannot.
    virtual Result<std::unique_ptr<ImageSource>> open(QFile &file) const = 0;
};

inline constexpr qsizetype kHeadBytes = 256;

// Every format shown, in the order they are told apart: formats with a
// signature first, the packed bitmap, which has none, last.
std::vector<std::unique_ptr<ImageFormat>> standardFormats();

std::unique_ptr<ImageFormat> bitmapFormat();
std::unique_ptr<ImageFormat> packedBitmapFormat();
std::unique_ptr<ImageFormat> jpegFormat();
std::unique_ptr<ImageFormat> gifFormat();
std::unique_ptr<ImageFormat> iconFormat();
std::unique_ptr<ImageFormat> metafileFormat();
std::unique_ptr<ImageFormat> pngFormat();
std::unique_ptr<ImageFormat> webpFormat();
std::unique_ptr<ImageFormat> tiffFormat();
std::unique_ptr<ImageFormat> heifFormat();

// The reasons the formats share.
Failure damaged(const QString &detail);
Failure tooLarge(qint64 width, qint64 height);
Failure fileTooLarge();

// The whole file, when it is at most limit bytes.
Result<QByteArray> readWhole(QFile &file, qint64 limit = kMaxFileBytes);

// Whether a small copy that a file keeps of its picture (stored the same way)
// can stand in for it when at least wanted is asked: it covers wanted and has
// the picture's proportions to a pixel (a copy with bars added, or one left
// from before an edit that turned the picture, has not).
bool copyServes(QSize copy, QSize picture, QSize wanted);

// A file that one of Qt's image readers decodes, from a device or from bytes.
class QtImageSource final : public ImageSource
{
public:
    static Result<std::unique_ptr<ImageSource>> open(QIODevice &device, const char *format);
    static Result<std::unique_ptr<ImageSource>> open(QByteArray bytes, const char *format);

    QSize size() const override { return m_size; }
    Result<QImage> read(const QRect &region) override;
    Result<QImage> readScaled(QSize atLeast) override;

private:
    QtImageSource(QIODevice &device, const char *format);
    explicit QtImageSource(QByteArray bytes, const char *format);
    std::optional<Failure> start();

    QByteArray m_bytes;
    QBuffer m_buffer;
    QImageReader m_reader;
    QSize m_size;
};

} // namespace vz::picture
