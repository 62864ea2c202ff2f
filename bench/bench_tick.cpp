// Figures of the picture ticks, each printed beside a reference measured in the
// same run:
//   build/bench/bench_tick [samples]
// Prints: the time from a tick of the real program (its "tick" line under the
// vz.show logging category) to the picture's pixels on a private 1920 x 1080
// screen, median, for a 24-megapixel progressive JPEG, a 24-megapixel baseline
// JPEG and the largest metafile of the test data, beside a small bitmap's and
// beside what decoding the same file at the tick costs; loadFitted() of a
// 24-megapixel JPEG for 1920 x 1080 against QImageReader::read(). (The memory
// of a show of big photos is bench_show's.)

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "imaging/PictureLoader.h"
#include "support/Desktop.h"

using namespace vz::test;

namespace {

const QSize kScreen(1920, 1080);
const QRgb kMarker = qRgb(0, 255, 0);

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

double medianMs(int runs, const std::function<void()> &work)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms << t.nsecsElapsed() / 1e6;
    }
    return median(ms);
}

// A 24-megapixel photograph stand-in: smooth gradients with fine detail, so
// that it compresses about as a photograph does.
QString writePhoto(const QString &path, bool progressive, int seed)
{
    QImage img(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qRgb((x / 24 + seed * 40) & 255, (y / 16 + x / 48) & 255, ((x ^ y) + seed * 17) & 255);
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(img))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The largest that loads: a damaged one would end the show at its tick.
QString largestMetafile()
{
    QString largest;
    qint64 size = -1;
    QDirIterator it(QStringLiteral(VZ_TEST_DATA), {QStringLiteral("*.wmf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        if (f.size() > size && vz::PictureLoader::load(f.filePath()).ok()) {
            largest = f.filePath();
            size = f.size();
        }
    }
    return largest;
}

QRgb centrePixel(Display *d)
{
    XImage *img = XGetImage(d, DefaultRootWindow(d), kScreen.width() / 2, kScreen.height() / 2, 1, 1, AllPlanes,
                            ZPixmap);
    if (!img)
        return 0;
    const QRgb p = QRgb(XGetPixel(img, 0, 0) & 0xffffff) | 0xff000000;
    XDestroyImage(img);
    return p;
}

// Times of the program's "tick" lines (milliseconds on the monotonic clock).
QList<qint64> tickTimes(App &app)
{
    QList<qint64> times;
    for (const QByteArray &line : app.stderrText().split('\n'))
        if (line.endsWith(" tick"))
            times << qint64(line.trimmed().split(' ').first().toDouble() * 1000);
    return times;
}

// The show alternates a green bitmap with the picture, one every two seconds;
// the screen's centre is polled. Returns the medians from a tick to the
// picture's pixels and to the bitmap's.
std::pair<double, double> tickToPixels(const QString &picture, int samples)
{
    XServer x(kScreen);
    App app(x);
    app.setEnv(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vz.show.debug=true"));
    app.setEnv(QStringLiteral("QT_MESSAGE_PATTERN"), QStringLiteral("%{time boot} %{message}"));
    const QString marker = solidPicture(app, QStringLiteral("marker.bmp"), QSize(64, 64), QColor(kMarker));
    writePictureList(app, QStringLiteral("2"), {marker, picture});
    Display *d = XOpenDisplay(x.display().toLocal8Bit().constData());
    app.start({QStringLiteral("/S")});
    QList<qint64> pictureSeen, markerSeen;
    QRgb last = centrePixel(d);
    bool markerUp = false;
    QDeadlineTimer limit(samples * 4000 + 15000);
    while (pictureSeen.size() < samples && !limit.hasExpired()) {
        const QRgb now = centrePixel(d);
        if (now != last) {
            const bool isMarker = now == (kMarker | 0xff000000);
            if (isMarker && !markerUp)
                markerSeen << QDeadlineTimer::current().deadline();
            else if (!isMarker && markerUp)
                pictureSeen << QDeadlineTimer::current().deadline();
            markerUp = isMarker;
            last = now;
        }
        QCoreApplication::processEvents(); // collects the program's log lines
        QThread::usleep(300);
    }
    XCloseDisplay(d);
    QCoreApplication::processEvents();
    const QList<qint64> ticks = tickTimes(app);
    auto delays = [&](const QList<qint64> &seen) {
        QList<double> ms;
        for (qint64 s : seen) {
            const auto before = std::upper_bound(ticks.begin(), ticks.end(), s);
            if (before != ticks.begin())
                ms << double(s - *std::prev(before));
        }
        return median(ms);
    };
    return {delays(pictureSeen), delays(markerSeen)};
}

void ticks(const QString &folder, int samples)
{
    const QList<std::pair<const char *, QString>> pictures{
        {"24 MP progressive JPEG", writePhoto(folder + QStringLiteral("/progressive.jpg"), true, 1)},
        {"24 MP baseline JPEG", writePhoto(folder + QStringLiteral("/baseline.jpg"), false, 2)},
        {"largest intact metafile of the test data", largestMetafile()}};
    for (const auto &[what, path] : pictures) {
        std::printf("%s: %s\n", what, qPrintable(QFileInfo(path).fileName()));
        const double atTick =
            medianMs(3, [&] { (void)vz::PictureLoader::loadVisible(path, kScreen); });
        const auto [picture, marker] = tickToPixels(path, samples);
        std::printf("tick to pixels, %s: median %.0f ms (target <= 20 ms); a small bitmap %.0f ms; decoding it "
                    "at the tick would take %.0f ms\n",
                    what, picture, marker, atTick);
        std::fflush(stdout);
    }
}

void fitted(const QString &folder)
{
    const QString photo = writePhoto(folder + QStringLiteral("/fit.jpg"), false, 3);
    const double fit = medianMs(5, [&] { (void)vz::PictureLoader::loadFitted(photo, kScreen); });
    const double whole = medianMs(5, [&] { (void)QImageReader(photo).read(); });
    std::printf("fit on, 24 MP JPEG to 1920 x 1080: loadFitted %.0f ms, QImageReader::read() %.0f ms, ratio %.2f "
                "(target <= 0.2)\n",
                fit, whole, fit / whole);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    // Metafiles with text need the fonts of a GUI application; the bench
    // itself shows nothing (the program it starts is told to use X).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int samples = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir folder;
    std::printf("making 24-megapixel test photos...\n");
    std::fflush(stdout);
    ticks(folder.path(), samples);
    fitted(folder.path());
    return 0;
}
