// How soon a decode for the show stops once it is given up (the show has
// ended while its next picture was being decoded), per format, beside the
// time the whole decode takes. Each picture is made here at 6000 x 4000 (the
// HEIF one by heif-enc, when it is installed) and fitted to 1920 x 1080 on a
// thread of its own; the flag is set 40 ms after the decode starts.
//
//   bench_cancel

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <thread>

#include "imaging/PictureLoader.h"

using namespace vz;

namespace {

// Milliseconds from setting the flag (after `afterMs`, or never for -1) until
// the decode returns; the whole decode's time when it is not given up.
qint64 decodeMs(const QString &file, int afterMs)
{
    picture::CancelFlag cancel{false};
    QElapsedTimer t;
    std::atomic<qint64> doneAt{-1};
    t.start();
    std::thread decode([&] {
        (void)PictureLoader::loadFitted(file, QSize(1920, 1080), {}, &cancel);
        doneAt = t.elapsed();
    });
    if (afterMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        cancel = true;
    }
    decode.join();
    return afterMs >= 0 ? doneAt - afterMs : doneAt.load();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QImage photo(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7) & 255, (y * 5 + x / 3) & 255, (x ^ y) & 255));
    QStringList files;
    for (const char *kind : {"baseline.jpg", "progressive.jpg", "photo.png", "photo.tif"}) {
        files << dir.filePath(QString::fromLatin1(kind));
        QImageWriter writer(files.last());
        writer.setProgressiveScanWrite(QByteArray(kind).startsWith("progressive"));
        writer.write(photo);
    }
    const QString heic = dir.filePath(QStringLiteral("photo.heic"));
    if (QProcess::execute(QStringLiteral("heif-enc"), {QStringLiteral("-q"), QStringLiteral("80"), files[2],
                                                       QStringLiteral("-o"), heic}) == 0)
        files << heic;
    for (const QString &file : files)
        std::printf("%-16s whole decode %5lld ms, stopped %4lld ms after it was given up\n",
                    qPrintable(QFileInfo(file).fileName()), decodeMs(file, -1), decodeMs(file, 40));
    return 0;
}
