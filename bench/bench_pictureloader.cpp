// How fast and how lean the show gets a 24-megapixel photo onto a full-HD
// screen. A 6000 x 4000 JPEG (made here, quality 90) is decoded for a
// 1920 x 1080 view by PictureLoader::loadVisible, by a whole
// QImageReader::read(), by `djpeg -crop` of the visible region and by
// `feh -U`; each figure is the median of several runs. The same photo is
// fitted to 1920 x 1080 by PictureLoader::loadFitted and made into the
// picture dialog's 129 x 81 preview by PictureLoader::loadPreview, and the
// show's blurred surround is made around the fitted photo (target <= 15 ms).
// Then a child process
// loads ten such pictures one after another through loadVisible, each freed
// before the next, and reports its peak resident memory. The same photo with
// an Adobe RGB profile embedded is fitted and cropped as well: its colours
// are converted to sRGB, against the photo without a profile.
//
//   bench_pictureloader [runs]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QBuffer>
#include <QColorSpace>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "imaging/PictureLoader.h"
#include "show/Surround.h"

using namespace vz;

namespace {

const QSize kPicture(6000, 4000);

// jpeg with an EXIF block holding thumbnail (a JPEG) in its second IFD, as
// cameras write it.
QByteArray withExifThumbnail(const QByteArray &jpeg, const QByteArray &thumbnail)
{
    QByteArray tiff("II*\0\x08\0\0\0\0\0", 10); // no entries in the first IFD
    const quint32 second = 14, data = second + 2 + 2 * 12 + 4;
    const auto u16 = [&tiff](quint16 v) { tiff.append(char(v & 255)).append(char(v >> 8)); };
    const auto u32 = [&u16](quint32 v) { u16(quint16(v & 0xFFFF)); u16(quint16(v >> 16)); };
    u32(second);
    u16(2);
    for (const auto &[tag, value] : {std::pair{0x0201u, data}, std::pair{0x0202u, quint32(thumbnail.size())}}) {
        u16(quint16(tag));
        u16(4);
        u32(1);
        u32(value);
    }
    u32(0);
    const QByteArray app1 = "Exif" + QByteArray(2, 0) + tiff + thumbnail;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((app1.size() + 2) >> 8)).append(char((app1.size() + 2) & 255));
    return jpeg.left(2) + segment + app1 + jpeg.mid(2);
}
const QSize kView(1920, 1080);
constexpr int kPictures = 10;

// Smooth colour fields with fine grain, compressing like a photograph.
QImage photoLike(quint32 seed)
{
    QImage image(kPicture, QImage::Format_RGB32);
    quint32 state = seed * 2654435761u + 1;
    const double phase = seed * 0.7;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int grain = int(state % 21) - 10;
            const double u = x / 600.0 + phase, v = y / 500.0;
            const int r = int(128 + 90 * std::sin(u) * std::cos(v * 0.7)) + grain;
            const int g = int(128 + 90 * std::sin(u * 0.6 + v)) + grain;
            const int b = int(128 + 90 * std::cos(u * 0.3 - v * 1.3)) + grain;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

double medianMs(int runs, const std::function<bool()> &step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!step())
            return -1;
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// The high-water mark of this process image (getrusage would report the
// parent's as well, since it survives fork and exec).
double peakRssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &entry : status.readAll().split('\n')) {
        if (entry.startsWith("VmHWM:"))
            return entry.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Child modes: print the peak resident memory after the loads.
int child(const QStringList &args)
{
    const double before = peakRssMb();
    if (args[1] == QLatin1String("--rss-visible")) {
        for (const QString &file : args.mid(2)) {
            Picture p = PictureLoader::loadVisible(file, kView);
            if (!p.ok() || p.image.size() != kView)
                return 1;
        }
    } else {
        QImageReader reader(args[2]);
        reader.setAllocationLimit(1024);
        if (reader.read().isNull())
            return 1;
    }
    std::printf("%.1f %.1f\n", before, peakRssMb());
    return 0;
}

std::pair<double, double> childRss(const QStringList &args)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), args);
    if (!process.waitForFinished(300000) || process.exitCode() != 0)
        return {-1, -1};
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    return fields.size() == 2 ? std::pair(fields[0].toDouble(), fields[1].toDouble())
                              : std::pair(-1.0, -1.0);
}

void line(const char *what, double ms)
{
    if (ms < 0)
        std::printf("  %-34s failed\n", what);
    else
        std::printf("  %-34s %8.1f ms\n", what, ms);
}

void ratio(const char *what, double a, double b, double target)
{
    if (a <= 0 || b <= 0)
        return;
    const double r = a / b;
    std::printf("  %-34s %8.2f   target <= %.2f  %s\n", what, r, target, r <= target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 2 && args[1].startsWith(QLatin1String("--rss-")))
        return child(args);
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 7;

    QTemporaryDir dir;
    QStringList files;
    std::printf("Writing %d pictures of %d x %d (JPEG, quality 90)...\n", kPictures,
                kPicture.width(), kPicture.height());
    std::fflush(stdout);
    for (int i = 0; i < kPictures; ++i) {
        const QString file = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        QImageWriter writer(file, "jpeg");
        writer.setQuality(90);
        if (!writer.write(photoLike(quint32(i + 1)))) {
            std::printf("cannot write %s\n", qPrintable(file));
            return 1;
        }
        files << file;
    }
    const QString photo = files.first();
    const QRect visible = PictureLoader::visibleRect(kPicture, kView);
    std::printf("Picture %d x %d, %.1f MB; view %d x %d; visible part %d x %d at %d, %d\n",
                kPicture.width(), kPicture.height(), QFileInfo(photo).size() / 1e6, kView.width(),
                kView.height(), visible.width(), visible.height(), visible.x(), visible.y());
    std::printf("Median of %d runs each:\n", runs);

    const double visibleMs = medianMs(runs, [&] {
        return PictureLoader::loadVisible(photo, kView).image.size() == kView;
    });
    line("PictureLoader::loadVisible", visibleMs);
    const double readMs = medianMs(runs, [&] {
        QImageReader reader(photo);
        reader.setAllocationLimit(1024);
        return !reader.read().isNull();
    });
    line("QImageReader::read (whole)", readMs);

    const QSize fitted = PictureLoader::fittedSize(kPicture, kView);
    const double fittedMs = medianMs(runs, [&] {
        return PictureLoader::loadFitted(photo, kView).image.size() == fitted;
    });
    line("PictureLoader::loadFitted", fittedMs);
    // The show's blurred surround around that fitted photo, made from its pixels.
    const Picture fittedPhoto = PictureLoader::loadFitted(photo, kView);
    const double surroundMs = medianMs(runs, [&] { return makeSurround(fittedPhoto, kView).size() == kView; });
    line("makeSurround (fitted, 1920 x 1080)", surroundMs);
    const QSize box(129, 81);
    const double previewMs = medianMs(runs, [&] {
        return PictureLoader::loadPreview(photo, box).image.size() == box;
    });
    line("PictureLoader::loadPreview (129 x 81)", previewMs);
    // The same photo as a camera writes it, with a 240 x 160 copy in its EXIF data.
    const QString withCopy = dir.filePath(QStringLiteral("with-thumbnail.jpg"));
    {
        QFile in(photo), out(withCopy);
        QBuffer thumb;
        thumb.open(QIODevice::WriteOnly);
        QImageReader reader(photo);
        reader.setScaledSize({240, 160});
        reader.read().save(&thumb, "jpeg", 90);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)
            || !out.write(withExifThumbnail(in.readAll(), thumb.data())))
            return 1;
    }
    const double thumbnailMs = medianMs(runs, [&] {
        return PictureLoader::loadPreview(withCopy, box).image.size() == box;
    });
    line("  the same with an EXIF thumbnail", thumbnailMs);
    // The same photo written progressive: the preview reads its first scans only.
    const QString progressive = dir.filePath(QStringLiteral("progressive.jpg"));
    {
        QImageWriter writer(progressive, "jpeg");
        writer.setQuality(90);
        writer.setProgressiveScanWrite(true);
        if (!writer.write(QImage(photo)))
            return 1;
    }
    const double progressiveReadMs = medianMs(runs, [&] { return !QImageReader(progressive).read().isNull(); });
    line("  progressive: QImageReader::read (whole)", progressiveReadMs);
    const double progressiveMs = medianMs(runs, [&] {
        return PictureLoader::loadPreview(progressive, box).image.size() == box;
    });
    line("  progressive: loadPreview", progressiveMs);

    // The same photo carrying an Adobe RGB (1998) profile in APP2.
    const QString profiled = dir.filePath(QStringLiteral("adobe-rgb.jpg"));
    {
        QImage image(photo);
        image.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        QImageWriter writer(profiled, "jpeg");
        writer.setQuality(90);
        if (!writer.write(image))
            return 1;
    }
    const double profiledFittedMs = medianMs(runs, [&] {
        return PictureLoader::loadFitted(profiled, kView).image.size() == fitted;
    });
    line("  with a profile: loadFitted", profiledFittedMs);
    const double profiledVisibleMs = medianMs(runs, [&] {
        return PictureLoader::loadVisible(profiled, kView).image.size() == kView;
    });
    line("  with a profile: loadVisible", profiledVisibleMs);

    double djpegMs = -1, fehMs = -1;
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (!djpeg.isEmpty()) {
        const QString crop = QStringLiteral("%1x%2+%3+%4").arg(visible.width()).arg(visible.height())
                                 .arg(visible.x()).arg(visible.y());
        djpegMs = medianMs(runs, [&] {
            return runTool(djpeg, {"-crop", crop, "-ppm", "-outfile", "/dev/null", photo});
        });
        line(qPrintable(QStringLiteral("djpeg -crop %1").arg(crop)), djpegMs);
        // What libjpeg-turbo itself takes at the scales of the fitted picture
        // and the preview: reading the whole file's codes sets the floor.
        for (const char *scale : {"1/2", "1/8"})
            line(qPrintable(QStringLiteral("djpeg -scale %1").arg(QLatin1String(scale))), medianMs(runs, [&] {
                return runTool(djpeg, {"-scale", scale, "-ppm", "-outfile", "/dev/null", photo});
            }));
    } else {
        std::printf("  djpeg not installed (Debian libjpeg-turbo-progs): skipped\n");
    }
    const QString feh = QStandardPaths::findExecutable(QStringLiteral("feh"));
    if (!feh.isEmpty()) {
        fehMs = medianMs(runs, [&] { return runTool(feh, {"-U", photo}); });
        line("feh -U", fehMs);
    } else {
        std::printf("  feh not installed (Debian feh): skipped\n");
    }

    std::printf("Ratios:\n");
    ratio("loadVisible / whole read", visibleMs, readMs, 0.35);
    ratio("loadVisible / djpeg -crop", visibleMs, djpegMs, 1.2);
    ratio("loadVisible / feh -U", visibleMs, fehMs, 0.35);
    ratio("loadFitted / whole read", fittedMs, readMs, 0.2);
    ratio("makeSurround / 15 ms", surroundMs, 15, 1.0);
    ratio("loadPreview / whole read", previewMs, readMs, 0.1);
    ratio("loadPreview (EXIF thumbnail) / whole read", thumbnailMs, readMs, 0.1);
    ratio("loadPreview / whole read, progressive", progressiveMs, progressiveReadMs, 0.1);
    ratio("loadFitted, with / without a profile", profiledFittedMs, fittedMs, 1.15);
    ratio("loadVisible, with / without a profile", profiledVisibleMs, visibleMs, 1.15);

    const auto [startMb, visiblePeakMb] = childRss(QStringList{"--rss-visible"} + files);
    const auto [startFullMb, fullPeakMb] = childRss({"--rss-full", photo});
    std::printf("Peak resident memory:\n");
    std::printf("  %-34s %8.1f MB (%.1f MB before loading)   target <= 70  %s\n",
                "ten pictures through loadVisible", visiblePeakMb, startMb,
                visiblePeakMb > 0 && visiblePeakMb <= 70 ? "met" : "MISSED");
    std::printf("  %-34s %8.1f MB (%.1f MB before loading)\n", "one whole QImageReader::read",
                fullPeakMb, startFullMb);
    return 0;
}
