// The soak run: the show for ten minutes (or the minutes given) with a 1-second
// interval over 200 pictures of mixed formats and sizes, 24-megapixel photos
// and a large metafile among them, with music playing. Prints the resident
// memory every 10 s and a summary (at one minute, peak after it, last), whether
// the show was still running at the end, and how many of the pictures it opened.
//   build/bench/bench_soak [minutes]

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/inotify.h>
#include <unistd.h>

#include "support/Desktop.h"
#include "support/Sound.h"

using namespace vz::test;

namespace {

qint64 residentKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

QImage pattern(int w, int h, int seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 3 + seed * 29) & 255, (y * 2 + x / 5) & 255, ((x ^ y) + seed * 13) & 255);
    }
    return img;
}

// A placeable metafile from the test data, declared at a much larger size: its
// bounding box stays, its units per inch shrink.
bool largeMetafile(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray b = in.readAll();
    if (b.size() < 22)
        return false;
    const quint16 inch = quint16(uchar(b[14]) | uchar(b[15]) << 8);
    const quint16 smaller = std::max<quint16>(1, inch / 12);
    b[14] = char(smaller & 0xff);
    b[15] = char(smaller >> 8);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= quint16(uchar(b[i]) | uchar(b[i + 1]) << 8);
    b[20] = char(sum & 0xff);
    b[21] = char(sum >> 8);
    QFile out(to);
    return out.open(QIODevice::WriteOnly) && out.write(b) == b.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double minutes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 10.0;

    SoundServer sound;
    XServer x(QSize(1920, 1080));
    App show(x);
    if (sound.ok())
        show.setEnv(QStringLiteral("PULSE_SERVER"), sound.address());
    const QDir dir(show.folder());
    const QString data = QStringLiteral(VZ_TEST_DATA);

    std::printf("making 200 pictures...\n");
    std::fflush(stdout);
    QStringList pictures;
    QStringList kinds{"jpg", "bmp", "gif", "ico", "dib"};
    for (int i = 0; i < 5; ++i) {
        pictures << dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        pattern(6000, 4000, i).save(pictures.last(), "JPEG", 90);
    }
    if (largeMetafile(data + QStringLiteral("/wmf/gen_placeable_red_on_blue.wmf"), dir.filePath("large.wmf")))
        pictures << dir.filePath(QStringLiteral("large.wmf"));
    const QStringList realFiles{"bmp/bmpsuite_pal8rle.bmp", "jpeg/wx_cmyk.jpg", "jpeg/video-001.progressive.jpeg",
                                "gif/aero_anim56.gif", "ico/gdk_bug785447_18images.ico", "dib/llama_4bpp.dib",
                                "wmf/gen_placeable_text.wmf", "wmf/tdf88163-non-placeable.wmf",
                                "jpeg/gdk_testrotate_exif_orient6.jpg", "gif/lo_oo_smiley_interlaced.gif"};
    for (const QString &f : realFiles) {
        pictures << dir.filePath(QStringLiteral("real-") + f.section(u'/', 1));
        QFile::copy(data + u'/' + f, pictures.last());
    }
    for (int i = 0; pictures.size() < 200; ++i) {
        const QString kind = kinds[i % kinds.size()];
        const QString path = dir.filePath(QStringLiteral("pic%1.%2").arg(i).arg(kind));
        const QImage img = pattern(80 + (i * 37) % 1800, 60 + (i * 53) % 1300, i);
        if (kind == u"gif" || kind == u"dib") {
            const QString bmp = dir.filePath(QStringLiteral("tmp%1.bmp").arg(i));
            img.save(bmp, "BMP");
            if (kind == u"gif")
                run(QStringLiteral("convert"), {bmp, path}, QProcessEnvironment::systemEnvironment(), 60000);
            else
                QFile::rename(bmp, path);
            QFile::remove(bmp);
        } else if (kind == u"ico") {
            img.scaled(256, 256).save(path, "ICO");
        } else {
            img.save(path, kind == u"jpg" ? "JPEG" : "BMP");
        }
        pictures << path;
    }
    QByteArray list = "1\r\n " + QByteArray::number(pictures.size()) + " \r\n";
    for (const QString &p : pictures)
        list += p.toUtf8() + "\r\n";
    show.writeFile(QStringLiteral("RozG.ini"), list);
    QStringList songs;
    for (int hz : {330, 440, 550}) {
        songs << dir.filePath(QStringLiteral("song%1.mp3").arg(hz));
        makeTone(songs.last(), hz, 20.0);
    }
    show.writeFile(QStringLiteral("RozM.ini"),
                   " 3 \r\n" + songs.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");

    // Which pictures the show opens, told by the kernel.
    const int watch = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_OPEN);
    QSet<QString> opened;
    auto drain = [&] {
        alignas(inotify_event) char buf[65536];
        ssize_t n;
        while ((n = ::read(watch, buf, sizeof buf)) > 0)
            for (char *p = buf; p < buf + n;) {
                auto *e = reinterpret_cast<inotify_event *>(p);
                if (e->len)
                    opened.insert(dir.filePath(QString::fromLocal8Bit(e->name)));
                p += sizeof(inotify_event) + e->len;
            }
    };

    show.start({QStringLiteral("/S")});
    QElapsedTimer t;
    t.start();
    QList<qint64> samples;
    const qint64 endMs = qint64(minutes * 60000);
    while (t.elapsed() < endMs && show.running()) {
        QThread::msleep(10000 - t.elapsed() % 10000);
        drain();
        const qint64 kb = residentKb(show.pid());
        samples << kb;
        std::printf("%4lld s  %7.1f MB  %lld pictures opened\n", t.elapsed() / 1000, kb / 1024.0,
                    static_cast<long long>(std::count_if(pictures.begin(), pictures.end(),
                                                         [&](const QString &p) { return opened.contains(p); })));
        std::fflush(stdout);
    }
    const bool stillRunning = show.running();
    ::kill(pid_t(show.pid()), SIGTERM);
    show.waitForExit();
    drain();
    const int shown = std::count_if(pictures.begin(), pictures.end(), [&](const QString &p) { return opened.contains(p); });
    // Growth is judged two ways: the largest sample after the first minute
    // against the sample at one minute, and, since memory follows the picture
    // on the screen and the samples repeat with the list, the largest rise
    // between samples one whole cycle apart.
    const int cycle = int(pictures.size()) / 10; // 1 s a picture, a sample every 10 s
    const int afterMinute = std::min<int>(6, samples.size()) - 1;
    if (afterMinute >= 0) {
        const qint64 first = samples[afterMinute];
        const qint64 peak = *std::max_element(samples.begin() + afterMinute, samples.end());
        qint64 overCycle = 0;
        for (int i = afterMinute; i + cycle < samples.size(); ++i)
            overCycle = std::max(overCycle, samples[i + cycle] - samples[i]);
        std::printf("resident memory: at one minute %.1f MB, peak after it %.1f MB, last %.1f MB; rise above the "
                    "one-minute sample %.1f MB, over a cycle of the %lld pictures %.1f MB (target <= 5 MB)\n",
                    first / 1024.0, peak / 1024.0, samples.last() / 1024.0, (peak - first) / 1024.0,
                    static_cast<long long>(pictures.size()), overCycle / 1024.0);
    }
    std::printf("show still running at the end: %s; pictures opened: %d of %lld; exit code %d\n",
                stillRunning ? "yes" : "NO", shown, static_cast<long long>(pictures.size()), show.exitCode());
    return stillRunning && shown == pictures.size() ? 0 : 1;
}
