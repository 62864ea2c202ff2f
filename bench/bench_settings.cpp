// How long the picture dialog takes to open with a long picture list, against
// the same dialog with a short one in the same run:
//   build/bench/bench_settings [runs]   (5 by default)
// Starts "veroridovuz /c" on a private 1920 x 1080 X server with 3 and with
// 30,000 entries in the picture list, alternately, and prints the medians of
// the time from the start to the dialog's window being mapped and to its first
// pixels on the screen, and their ratios.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdio>

#include "support/Desktop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace vz::test;

namespace {

const QSize kScreen(1920, 1080);
const char *const kTitle = "Veroridovuz - Select Graphics";

double median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

// Whether a top-level window with the dialog's title is mapped.
bool dialogMapped(Display *d)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n))
        return false;
    bool mapped = false;
    for (unsigned int i = 0; i < n && !mapped; ++i) {
        char *name = nullptr;
        if (XFetchName(d, children[i], &name) && name) {
            XWindowAttributes a;
            mapped = !qstrcmp(name, kTitle) && XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable;
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return mapped;
}

// The screen's centre, which the dialog covers once it is drawn.
bool centreDrawn(Display *d)
{
    XImage *img = XGetImage(d, DefaultRootWindow(d), kScreen.width() / 2, kScreen.height() / 2, 1, 1, AllPlanes,
                            ZPixmap);
    if (!img)
        return false;
    const bool drawn = (XGetPixel(img, 0, 0) & 0xffffff) != 0;
    XDestroyImage(img);
    return drawn;
}

struct Opened {
    qint64 mappedMs = -1, drawnMs = -1;
};

Opened openDialog(const XServer &x, const App &app)
{
    Display *d = XOpenDisplay(x.display().toLocal8Bit().constData());
    QProcess p;
    p.setProcessEnvironment(app.env());
    p.setWorkingDirectory(app.folder());
    QElapsedTimer t;
    t.start();
    p.start(app.filePath(QStringLiteral("veroridovuz")), {QStringLiteral("/c")});
    Opened o;
    while (o.drawnMs < 0 && t.elapsed() < 30000) {
        if (o.mappedMs < 0 && dialogMapped(d))
            o.mappedMs = t.elapsed();
        if (o.mappedMs >= 0 && centreDrawn(d))
            o.drawnMs = t.elapsed();
        QThread::usleep(500);
    }
    p.kill();
    p.waitForFinished();
    // The next run starts from a black screen.
    while (centreDrawn(d) && t.elapsed() < 35000)
        QThread::msleep(5);
    XCloseDisplay(d);
    return o;
}

QByteArray pictureList(int entries)
{
    QByteArray b = " 10 \r\n " + QByteArray::number(entries) + " \r\n";
    for (int i = 0; i < entries; ++i)
        b += "/home/someone/Pictures/" + QByteArray::number(2000 + i % 25) + "/Holiday " +
             QByteArray::number(i % 97) + "/IMG_" + QByteArray::number(100000 + i) + ".jpg\r\n";
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = std::max(1, app.arguments().value(1, QStringLiteral("5")).toInt());
    XServer x(kScreen);
    App shortList(x), longList(x);
    shortList.writeFile(QStringLiteral("RozG.ini"), pictureList(3));
    longList.writeFile(QStringLiteral("RozG.ini"), pictureList(30000));
    QList<qint64> mapped[2], drawn[2];
    for (int i = 0; i < runs; ++i)
        for (const int n : {0, 1}) {
            const Opened o = openDialog(x, n ? longList : shortList);
            mapped[n] << o.mappedMs;
            drawn[n] << o.drawnMs;
        }
    for (const auto &[what, times] : {std::pair{"mapped", mapped}, std::pair{"drawn", drawn}})
        std::printf("picture dialog %s: 3 entries median %.0f ms, 30,000 entries median %.0f ms, ratio %.2f "
                    "(target <= 1.5)\n",
                    what, median(times[0]), median(times[1]), median(times[1]) / median(times[0]));
    return 0;
}
