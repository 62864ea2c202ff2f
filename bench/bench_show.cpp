// Figures of the show as a user runs it: the real program on a private X server
// (and a private sound server), each figure printed beside a reference measured
// in the same run.
//   build/bench/bench_show [startup | music | memory | first | fade | monitors]
// Prints: start-up to the backdrop against a minimal Qt program showing one
// full-screen picture; processor use between picture ticks and while a song
// plays; peak memory while cycling through ten 24-megapixel photos; the gaps
// between songs in order mode; (`fade` alone) the frames of a fade between two
// photos and the processor it takes; (`monitors` alone) the peak memory with
// pictures on two monitors against one.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <unistd.h>

#include "support/Desktop.h"
#include "support/Sound.h"

using namespace vz::test;

namespace {

// One pixel of the screen, read straight from the server (fast enough to poll).
QRgb pixelAt(Display *d, int x, int y)
{
    XImage *img = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img)
        return 0;
    const unsigned long p = XGetPixel(img, 0, 0);
    XDestroyImage(img);
    return QRgb(p & 0xffffff);
}

// Milliseconds from starting the process until the screen shows the backdrop's
// colour at (40, 40); -1 when it never does.
qint64 timeToBackdrop(const XServer &x, const QString &program, const QStringList &args,
                      const QProcessEnvironment &env, QRgb expected)
{
    Display *d = XOpenDisplay(x.display().toLocal8Bit().constData());
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    qint64 ms = -1;
    while (t.elapsed() < 15000) {
        const QRgb c = pixelAt(d, 40, 40);
        if (qAbs(qRed(c) - qRed(expected)) < 12 && qAbs(qGreen(c) - qGreen(expected)) < 12 &&
            qAbs(qBlue(c) - qBlue(expected)) < 12) {
            ms = t.elapsed();
            break;
        }
        QThread::usleep(500);
    }
    p.kill();
    p.waitForFinished();
    // Wait until the window is gone, so the next run starts from a black screen.
    while (pixelAt(d, 40, 40) != 0 && t.elapsed() < 20000)
        QThread::msleep(5);
    XCloseDisplay(d);
    return ms;
}

double median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

// Processor time (user + system) of a process in milliseconds.
qint64 cpuMs(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = f.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const long ticks = sysconf(_SC_CLK_TCK);
    return (fields.value(11).toLongLong() + fields.value(12).toLongLong()) * 1000 / ticks;
}

qint64 statusKb(qint64 pid, const char *key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    return -1;
}

double cpuPercentOver(qint64 pid, int ms)
{
    const qint64 a = cpuMs(pid);
    QThread::msleep(ms);
    return 100.0 * double(cpuMs(pid) - a) / ms;
}

QByteArray pictureList(const QString &interval, const QStringList &paths)
{
    QByteArray b = interval.toUtf8() + "\r\n " + QByteArray::number(paths.size()) + " \r\n";
    for (const QString &p : paths)
        b += p.toUtf8() + "\r\n";
    return b;
}

void startUp(const QString &minimalProgram)
{
    XServer x;
    App app(x);
    QImage backdrop(QStringLiteral(":/backdrop.jpg"));
    QFile::copy(QStringLiteral(":/backdrop.jpg"), app.filePath(QStringLiteral("backdrop.jpg")));
    backdrop.load(app.filePath(QStringLiteral("backdrop.jpg")));
    const QRgb expected = backdrop.pixel(40, 40) & 0xffffff;
    QList<qint64> ours, reference;
    for (int i = 0; i < 7; ++i) {
        ours << timeToBackdrop(x, app.filePath(QStringLiteral("veroridovuz")), {QStringLiteral("/S")}, app.env(),
                               expected);
        reference << timeToBackdrop(x, minimalProgram, {app.filePath(QStringLiteral("backdrop.jpg"))}, app.env(),
                                    expected);
    }
    std::printf("start-up to backdrop: veroridovuz /S median %.0f ms, minimal Qt program median %.0f ms, "
                "ratio %.2f (target <= 1.3)\n",
                median(ours), median(reference), median(ours) / median(reference));
}

// Ten 6000 x 4000 JPEGs, baseline [0] and progressive [1]; their paths.
std::array<QStringList, 2> tenPhotos(const App &app)
{
    std::printf("making ten 6000 x 4000 JPEGs, baseline and progressive...\n");
    std::fflush(stdout);
    std::array<QStringList, 2> photos;
    for (int i = 0; i < 10; ++i) {
        QImage img(6000, 4000, QImage::Format_RGB32);
        for (int yy = 0; yy < img.height(); ++yy) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(yy));
            for (int xx = 0; xx < img.width(); ++xx)
                line[xx] = qRgb((xx * 7 + i * 40) & 255, (yy * 5 + xx / 3) & 255, ((xx ^ yy) + i * 17) & 255);
        }
        for (const bool progressive : {false, true}) {
            photos[progressive] << app.filePath(QStringLiteral("photo%1%2.jpg").arg(i).arg(progressive ? "p" : ""));
            QImageWriter writer(photos[progressive].last(), "jpeg");
            writer.setQuality(90);
            writer.setProgressiveScanWrite(progressive);
            writer.write(img);
        }
    }
    return photos;
}

// Peak resident memory in kB of a show over the photos, one a second, for
// twelve and a half seconds.
qint64 peakOfShow(const XServer &x, const QStringList &photos, const QMap<QString, QString> &options)
{
    App app(x);
    for (auto o = options.begin(); o != options.end(); ++o)
        app.setStored(o.key(), o.value());
    app.writeFile(QStringLiteral("RozG.ini"), pictureList(QStringLiteral("1"), photos));
    app.start({QStringLiteral("/S")});
    QThread::msleep(12500);
    const qint64 peak = statusKb(app.pid(), "VmHWM:");
    ::kill(pid_t(app.pid()), SIGTERM);
    app.waitForExit();
    return peak;
}

void idleAndMemory()
{
    XServer x;
    App app(x);
    // Between ticks: one small picture every 5 s, no music.
    QImage small(100, 51, QImage::Format_RGB32);
    small.fill(Qt::red);
    small.save(app.filePath(QStringLiteral("small.bmp")));
    app.writeFile(QStringLiteral("RozG.ini"), pictureList(QStringLiteral("5"), {app.filePath("small.bmp")}));
    app.start({QStringLiteral("/S")});
    QThread::msleep(2000);
    std::printf("between ticks: %.2f %% of one core over 10 s (target < 1 %%)\n", cpuPercentOver(app.pid(), 10000));
    ::kill(pid_t(app.pid()), SIGTERM);
    app.waitForExit();

    // Ten 24-megapixel photographs, one a second, baseline and progressive,
    // at natural size and fitted.
    const auto photos = tenPhotos(app);
    const double fullDecodeMb = 6000.0 * 4000 * 4 / (1024 * 1024);
    std::printf("one full decode alone is %.1f MB\n", fullDecodeMb);
    XServer fullHd(QSize(1920, 1080));
    for (const bool progressive : {false, true})
        for (const bool fit : {false, true}) {
            const qint64 peak = peakOfShow(fullHd, photos[progressive], {{"FitP", QString::number(int(fit))}});
            std::printf("ten 24 MP %s photos on a 1920 x 1080 screen, %s: peak resident %.1f MB, ratio %.2f "
                        "(target <= 90 MB)\n", progressive ? "progressive" : "baseline",
                        fit ? "fitted" : "natural size", peak / 1024.0, peak / 1024.0 / fullDecodeMb);
        }
}

void music()
{
    SoundServer sound;
    if (!sound.ok()) {
        std::printf("music: no sound server could be started\n");
        return;
    }
    XServer x;
    App app(x);
    app.setEnv(QStringLiteral("PULSE_SERVER"), sound.address());
    const auto playList = [&app](const QList<std::pair<int, double>> &tones) {
        QByteArray list = " " + QByteArray::number(tones.size()) + " \r\n";
        for (const auto &[hz, seconds] : tones) {
            const QString song = app.filePath(QStringLiteral("s%1.wav").arg(hz));
            makeTone(song, hz, seconds);
            list += song.toUtf8() + "\r\n";
        }
        app.writeFile(QStringLiteral("RozM.ini"), list);
        app.start({QStringLiteral("/S")});
    };
    app.writeFile(QStringLiteral("RozG.ini"), pictureList(QStringLiteral("60"), {}));
    // The processor while one long song plays, for five seconds from its second
    // (it starts after a lead-in of up to a second).
    playList({{330, 9.0}});
    QThread::msleep(2500);
    const double playingCpu = cpuPercentOver(app.pid(), 5000);
    ::kill(pid_t(app.pid()), SIGTERM);
    app.waitForExit();
    const std::vector<int> pitches{440, 660, 880};
    sound.startRecording();
    playList({{440, 1.0}, {660, 1.0}, {880, 1.0}});
    waitFor([&] {
        int changes = 0, last = 0;
        for (const Stretch &s : pitchStretches(sound.samples(), pitches))
            if (s.pitch) {
                changes += last && s.pitch != last;
                last = s.pitch;
            }
        return changes >= 11;
    }, 40000);
    ::kill(pid_t(app.pid()), SIGTERM);
    app.waitForExit();
    // A gap runs from the end of one song's tone to the start of the next one's.
    QList<qint64> gaps;
    std::vector<Stretch> tones;
    for (const Stretch &s : pitchStretches(sound.samples(), pitches, 10, 60))
        if (s.pitch)
            tones.push_back(s);
    for (size_t i = 1; i < tones.size() && gaps.size() < 10; ++i)
        if (tones[i].pitch != tones[i - 1].pitch)
            gaps << tones[i].fromMs - tones[i - 1].toMs;
    std::printf("music: gap between songs over %lld changes: median %.0f ms, max %lld ms (target: median <= 100 ms, "
                "max <= 200 ms)\n",
                static_cast<long long>(gaps.size()), median(gaps),
                static_cast<long long>(gaps.isEmpty() ? 0 : *std::max_element(gaps.begin(), gaps.end())));
    std::printf("music: while a song plays the show uses %.2f %% of one core (target < 2 %%)\n", playingCpu);
}

// From exec to the first picture's pixels: in a window of a host's (as a
// screen locker starts its show on each monitor) and full screen, on a
// 1920 x 1080 screen with an ordinary 12-megapixel photo first in the list
// and an interval of one second.
void firstPicture()
{
    XServer x(QSize(1920, 1080));
    App app(x);
    const QRgb magenta = qRgb(220, 0, 220);
    QImage photo(4032, 3024, QImage::Format_RGB32);
    for (int yy = 0; yy < photo.height(); ++yy) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(yy));
        for (int xx = 0; xx < photo.width(); ++xx)
            line[xx] = qRgb((xx * 7) & 255, (yy * 5 + xx / 3) & 255, (xx ^ yy) & 255);
    }
    // What shows at the top left of the screen is flat, so its colour is certain.
    for (int yy = 900; yy < 2124; ++yy)
        std::fill_n(reinterpret_cast<QRgb *>(photo.scanLine(yy)) + 1000, 2032, magenta);
    QImageWriter writer(app.filePath(QStringLiteral("photo.jpg")), "jpeg");
    writer.setQuality(92);
    writer.write(photo);
    app.writeFile(QStringLiteral("RozG.ini"), pictureList(QStringLiteral("1"), {app.filePath("photo.jpg")}));

    Display *d = XOpenDisplay(x.display().toLocal8Bit().constData());
    XSetWindowAttributes attrs = {};
    attrs.background_pixel = BlackPixel(d, 0);
    attrs.override_redirect = True;
    const Window host = XCreateWindow(d, DefaultRootWindow(d), 0, 0, 1920, 1080, 0, CopyFromParent, InputOutput,
                                      CopyFromParent, CWBackPixel | CWOverrideRedirect, &attrs);
    XMapWindow(d, host);
    XSync(d, False);
    const QString program = app.filePath(QStringLiteral("veroridovuz"));
    QList<qint64> embedded, fullScreen;
    for (int i = 0; i < 5; ++i) {
        embedded << timeToBackdrop(x, program, {QStringLiteral("-window-id"), QString::number(host)}, app.env(), magenta);
        fullScreen << timeToBackdrop(x, program, {QStringLiteral("/S")}, app.env(), magenta);
    }
    XCloseDisplay(d);
    std::printf("first picture (12 MP photo, interval 1 s): in a host's window median %.0f ms (target <= 1000), "
                "full screen median %.0f ms\n", median(embedded), median(fullScreen));
}

// Two 6000 x 4000 photos, dark and bright, with a fine pattern so that the
// decoder has real work; their paths.
QStringList darkAndBrightPhotos(const App &app)
{
    QStringList photos;
    for (const int base : {20, 215}) {
        QImage img(6000, 4000, QImage::Format_RGB32);
        for (int yy = 0; yy < img.height(); ++yy) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(yy));
            for (int xx = 0; xx < img.width(); ++xx)
                line[xx] = qRgb(base + (xx & 15), base + (yy & 15), base + ((xx ^ yy) & 15));
        }
        photos << app.filePath(QStringLiteral("photo%1.jpg").arg(base));
        QImageWriter writer(photos.last(), "jpeg");
        writer.setQuality(90);
        writer.write(img);
    }
    return photos;
}

// A one-second fade from a dark 24 MP photo to a bright one on a 1920 x 1080
// screen, seen from outside: the centre pixel read straight from the server,
// each change of it one frame presented. The processor over ten seconds with
// the fade in them, and between fades.
void fade()
{
    XServer x(QSize(1920, 1080));
    App app(x);
    app.setStored(QStringLiteral("FadeP"), QStringLiteral("1"));
    app.setStored(QStringLiteral("FadeMs"), QStringLiteral("1000"));
    app.writeFile(QStringLiteral("RozG.ini"), pictureList(QStringLiteral("10"), darkAndBrightPhotos(app)));
    app.start({QStringLiteral("/S")});
    Display *d = XOpenDisplay(x.display().toLocal8Bit().constData());
    QElapsedTimer t;
    t.start();
    QList<std::pair<qint64, qint64>> cpu; // (ms since start, processor ms)
    const auto sampleCpu = [&] {
        if (cpu.isEmpty() || t.elapsed() - cpu.last().first >= 100)
            cpu.append({t.elapsed(), cpuMs(app.pid())});
    };
    const auto cpuAt = [&](qint64 ms) {
        auto it = std::lower_bound(cpu.begin(), cpu.end(), std::pair<qint64, qint64>(ms, 0));
        return it == cpu.end() ? cpu.last() : *it;
    };
    // The first tick fades the dark photo in over the backdrop (dark blue);
    // wait until it is whole.
    const auto darkPhoto = [](QRgb c) {
        return qRed(c) >= 12 && qRed(c) <= 45 && qAbs(qRed(c) - qGreen(c)) < 20 && qAbs(qGreen(c) - qBlue(c)) < 20;
    };
    while (!darkPhoto(pixelAt(d, 960, 540)) && t.elapsed() < 30000) {
        sampleCpu();
        QThread::msleep(5);
    }
    // ... and the last frames of its fade are presented.
    for (const qint64 until = t.elapsed() + 1500; t.elapsed() < until; QThread::msleep(20))
        sampleCpu();
    QList<qint64> changes;
    QRgb last = pixelAt(d, 960, 540);
    while (qRed(last) < 210 && t.elapsed() < 40000) {
        sampleCpu();
        const QRgb now = pixelAt(d, 960, 540);
        if (now != last)
            changes << t.elapsed();
        last = now;
        QThread::usleep(1000);
    }
    if (changes.size() < 2) {
        std::printf("fade: no fade seen\n");
        return;
    }
    const qint64 start = changes.first(), end = changes.last();
    while (t.elapsed() < start + 9000) {
        sampleCpu();
        QThread::msleep(20);
    }
    XCloseDisplay(d);
    QList<qint64> frames;
    for (int i = 1; i < changes.size(); ++i)
        frames << changes[i] - changes[i - 1];
    std::sort(frames.begin(), frames.end());
    const qint64 p95 = frames[qsizetype(std::ceil(0.95 * double(frames.size()))) - 1];
    std::printf("fade of 1 s between 24 MP photos at 1920 x 1080: %lld frames presented over %lld ms "
                "(target >= 40), frame time median %.1f ms, 95th percentile %lld ms (target <= 20), longest %lld ms\n",
                qlonglong(changes.size()), qlonglong(end - start), median(frames), qlonglong(p95),
                qlonglong(frames.last()));
    const auto percent = [&](qint64 from, qint64 to) {
        const auto a = cpuAt(from), b = cpuAt(to);
        return 100.0 * double(b.second - a.second) / double(qMax<qint64>(1, b.first - a.first));
    };
    std::printf("processor over 10 s with one fade (and the next photo's decode) in it: %.2f %% of one core "
                "(target <= 10 %%); between fades, %.2f %% (target < 1 %%)\n",
                percent(start - 1000, start + 9000), percent(end + 1500, start + 9000));
    ::kill(pid_t(app.pid()), SIGTERM);
    app.waitForExit();
}

// Pictures on every monitor: the peak memory over the ten photos with two
// 1920 x 1080 monitors against one, in the same run.
void monitors()
{
    XServer one(QSize(1920, 1080)), two(QSize(3840, 1080));
    if (!two.addMonitor(QStringLiteral("VZL"), QRect(0, 0, 1920, 1080), true, QStringLiteral("screen"))
        || !two.addMonitor(QStringLiteral("VZR"), QRect(1920, 0, 1920, 1080), false, QStringLiteral("none"))) {
        std::printf("monitors: xrandr cannot split the screen\n");
        return;
    }
    App files(one);
    const QStringList photos = tenPhotos(files)[0];
    const QMap<QString, QString> everyMonitor{{"AllMonP", "1"}};
    const double alone = peakOfShow(one, photos, everyMonitor) / 1024.0;
    const double both = peakOfShow(two, photos, everyMonitor) / 1024.0;
    std::printf("ten 24 MP photos with pictures on every monitor: one 1920 x 1080 monitor peak %.1f MB, two %.1f MB, "
                "ratio %.2f (target <= 1.6)\n", alone, both, both / alone);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString minimal = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_minimal_show");
    // "startup", "music", "memory", "first", "fade" or "monitors" as the only argument measures that alone.
    const QString only = app.arguments().value(1);
    if (only == QStringLiteral("first")) {
        firstPicture();
        return 0;
    }
    if (only == QStringLiteral("monitors")) {
        monitors();
        return 0;
    }
    if (only == QStringLiteral("fade")) {
        fade();
        return 0;
    }
    if (only.isEmpty() || only == QStringLiteral("startup"))
        startUp(minimal);
    if (only.isEmpty() || only == QStringLiteral("memory"))
        idleAndMemory();
    if (only.isEmpty() || only == QStringLiteral("music"))
        music();
    return 0;
}
