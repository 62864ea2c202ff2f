#include "support/Desktop.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSettings>
#include <QRegularExpression>
#include <QThread>
#include <QtEndian>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

namespace vz::test {

RunResult run(const QString &program, const QStringList &args, const QProcessEnvironment &env, int timeoutMs,
              const QString &folder)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(program, args);
    RunResult r;
    if (!p.waitForStarted(timeoutMs))
        return r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished(2000);
    }
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

namespace {

// A connection of the harness's own to the server, closed as it goes.
using Connection = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

Connection connectTo(const QString &display)
{
    return Connection(XOpenDisplay(display.toLocal8Bit().constData()), XCloseDisplay);
}

} // namespace

QString waitForEach(const QList<std::pair<QString, std::function<bool()>>> &preds, int timeoutMs)
{
    QList<bool> held(preds.size(), false);
    waitFor([&] {
        for (qsizetype i = 0; i < preds.size(); ++i)
            held[i] = held[i] || preds[i].second();
        return !held.contains(false);
    }, timeoutMs);
    QStringList missing;
    for (qsizetype i = 0; i < preds.size(); ++i)
        if (!held[i])
            missing << preds[i].first;
    return missing.join(QStringLiteral("; "));
}

XServer::XServer(QSize size) : m_size(size)
{
    // A window may go between being listed and being asked about; Xlib's own
    // handler would end the test there.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0",
                                            QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()),
                                            "-nolisten", "tcp", "-noreset"});
    // Blocking reads, so that a server can be started before the application.
    QByteArray out;
    for (QDeadlineTimer t(20000); !out.contains('\n') && m_server.state() != QProcess::NotRunning && !t.hasExpired();) {
        m_server.waitForReadyRead(200);
        out += m_server.readAllStandardOutput();
    }
    if (out.contains('\n'))
        m_display = u':' + QString::fromLatin1(out).trimmed();
}

XServer::~XServer()
{
    m_server.terminate();
    if (!m_server.waitForFinished(5000))
        m_server.kill();
    m_server.waitForFinished(2000);
}

QProcessEnvironment XServer::env() const
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("DISPLAY"), m_display);
    e.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return e;
}

QString XServer::xdo(const QStringList &args) const
{
    return QString::fromUtf8(run(QStringLiteral("xdotool"), args, env()).out).trimmed();
}

// Asked of the server directly (as often as a test polls, where starting a
// tool each time took 70 ms): every window on the screen, the root's
// children first, that is mapped and viewable and whose title matches,
// ignoring case.
QStringList XServer::windowsNamed(const QString &regex) const
{
    const Connection connection = connectTo(m_display);
    Display *d = connection.get();
    if (!d)
        return {};
    const QRegularExpression re(regex, QRegularExpression::CaseInsensitiveOption);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    const auto title = [&](Window w) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        QString text;
        for (const Atom name : {netName, Atom(XA_WM_NAME)}) {
            if (XGetWindowProperty(d, w, name, 0, 1024, False, name == netName ? utf8 : AnyPropertyType, &type, &format,
                                   &count, &after, &data) == Success && data && format == 8)
                text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
            if (data)
                XFree(data);
            data = nullptr;
            if (!text.isEmpty())
                break;
        }
        return text;
    };
    QStringList found;
    QList<Window> level{DefaultRootWindow(d)};
    while (!level.isEmpty()) {
        QList<Window> next;
        for (const Window parent : level) {
            Window root = 0, up = 0, *children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(d, parent, &root, &up, &children, &count))
                continue;
            for (unsigned i = 0; i < count; ++i) {
                XWindowAttributes attrs;
                if (XGetWindowAttributes(d, children[i], &attrs) && attrs.map_state == IsViewable &&
                    re.match(title(children[i])).hasMatch())
                    found << QString::number(children[i]);
                next << children[i];
            }
            if (children)
                XFree(children);
        }
        level = next;
    }
    return found;
}

std::optional<std::pair<QString, QRect>> XServer::waitForWindow(const QString &regex, int timeoutMs) const
{
    QStringList ids;
    if (!waitFor([&] { return !(ids = windowsNamed(regex)).isEmpty(); }, timeoutMs))
        return std::nullopt;
    QMap<QString, int> v;
    for (const QString &line : xdo({"getwindowgeometry", "--shell", ids.first()}).split(u'\n'))
        v.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    return std::pair{ids.first(), QRect(v["X"], v["Y"], v["WIDTH"], v["HEIGHT"])};
}

std::optional<QRect> XServer::activate(const QString &regex, int timeoutMs) const
{
    const auto window = waitForWindow(regex, timeoutMs);
    if (!window)
        return std::nullopt;
    xdo({"windowfocus", window->first});
    mouseMove(window->second.center());
    return window->second;
}

// Read straight from the server (a 24-bit TrueColor screen, 32 bits a pixel):
// a poll takes milliseconds, where a screenshot tool's round trip through a
// picture file took a tenth of a second of the processor the show needs.
QImage XServer::screenshot() const
{
    const Connection connection = connectTo(m_display);
    Display *d = connection.get();
    if (!d)
        return {};
    QImage img;
    if (XImage *x = XGetImage(d, DefaultRootWindow(d), 0, 0, unsigned(m_size.width()), unsigned(m_size.height()), AllPlanes, ZPixmap)) {
        if (x->bits_per_pixel == 32)
            img = QImage(reinterpret_cast<const uchar *>(x->data), x->width, x->height, x->bytes_per_line,
                         QImage::Format_RGB32).copy();
        XDestroyImage(x);
    }
    return img;
}

void XServer::mouseMove(int x, int y) const { xdo({"mousemove", QString::number(x), QString::number(y)}); }
void XServer::click(int button) const { xdo({"click", QString::number(button)}); }
// An access key clicks its button with a tenth of a second's animation, during
// which the same key again would be lost: the next key waits that long.
void XServer::key(const QString &keys) const
{
    QStringList args{"key", "--delay", "20"};
    for (const QString &k : keys.split(u' ')) {
        if (args.last().startsWith(QStringLiteral("alt+")))
            args << "sleep" << "0.12" << "key" << "--delay" << "20";
        args << k;
    }
    xdo(args);
}

bool XServer::addMonitor(const QString &name, QRect r, bool primary, const QString &outputs) const
{
    const QString geometry = QStringLiteral("%1/270x%2/203+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    return run(QStringLiteral("xrandr"), {QStringLiteral("--setmonitor"), (primary ? QStringLiteral("*") : QString()) + name, geometry, outputs},
               env()).exitCode == 0;
}

bool XServer::closeWindow(const QString &windowId) const
{
    const Connection connection = connectTo(m_display);
    Display *d = connection.get();
    if (!d)
        return false;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = windowId.toULong();
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    const Status sent = XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    return sent;
}

std::optional<bool> XServer::cursorIsBlank() const
{
    const Connection connection = connectTo(m_display);
    Display *d = connection.get();
    if (!d)
        return std::nullopt;
    std::optional<bool> blank;
    if (XFixesCursorImage *img = XFixesGetCursorImage(d)) {
        blank = true;
        for (unsigned long i = 0; i < static_cast<unsigned long>(img->width) * img->height; ++i)
            blank = *blank && !((img->pixels[i] >> 24) & 0xff);
        XFree(img);
    }
    return blank;
}

App::App(const XServer &x)
{
    const QDir dir(m_dir.path());
    for (const char *sub : {"bin", "home", "config", "run"})
        dir.mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                  QFileDevice::ExeOwner);
    QFile::copy(QStringLiteral(VZ_EXECUTABLE), filePath(QStringLiteral("veroridovuz")));
    m_env = x.env();
    m_env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_env.remove(QStringLiteral("SESSION_MANAGER"));
    m_env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
}

App::~App()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString App::folder() const { return QDir(m_dir.path()).filePath(QStringLiteral("bin")); }
QString App::filePath(const QString &name) const { return QDir(folder()).filePath(name); }

void App::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
}

QByteArray App::readFile(const QString &name) const
{
    QFile f(filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void App::setStored(const QString &key, const QString &value) const
{
    QSettings(configHome() + "/Veroridovuz/Veroridovuz.conf", QSettings::IniFormat).setValue("Presets/" + key, value);
}

QString App::stored(const QString &key) const
{
    return QSettings(configHome() + "/Veroridovuz/Veroridovuz.conf", QSettings::IniFormat).value("Presets/" + key).toString();
}

void App::start(const QStringList &args)
{
    m_process.setProcessEnvironment(m_env);
    m_process.setWorkingDirectory(folder());
    m_process.start(filePath(QStringLiteral("veroridovuz")), args);
    m_process.waitForStarted(10000);
}

std::unique_ptr<QProcess> App::launch(const QStringList &args) const
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(m_env);
    p->start(filePath(QStringLiteral("veroridovuz")), args);
    p->waitForStarted(10000);
    return p;
}

RunResult App::runToEnd(const QStringList &args, int timeoutMs)
{
    return run(filePath(QStringLiteral("veroridovuz")), args, m_env, timeoutMs, folder());
}

bool App::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

bool App::running() const { return m_process.state() != QProcess::NotRunning; }

bool near(QColor shown, QColor expected, int tolerance)
{
    return qAbs(shown.red() - expected.red()) <= tolerance && qAbs(shown.green() - expected.green()) <= tolerance &&
           qAbs(shown.blue() - expected.blue()) <= tolerance;
}

QByteArray exifWithDate(const QByteArray &text, bool bigEndian)
{
    // IFD0 at 8 with the Exif IFD pointer, the Exif IFD at 26 with
    // DateTimeOriginal, its text at 44.
    QByteArray tiff(bigEndian ? "MM" : "II");
    const auto u16 = [&](int v) {
        const char a = char(v & 255), b = char(v >> 8);
        tiff.append(bigEndian ? b : a).append(bigEndian ? a : b);
    };
    const auto u32 = [&](int v) { bigEndian ? (u16(v >> 16), u16(v & 0xffff)) : (u16(v & 0xffff), u16(v >> 16)); };
    u16(42), u32(8);
    u16(1), u16(0x8769), u16(4), u32(1), u32(26), u32(0);
    u16(1), u16(0x9003), u16(2), u32(20), u32(44), u32(0);
    return tiff + text + '\0';
}

QByteArray jpegWithExif(const QByteArray &exif)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QImage(64, 48, QImage::Format_RGB32).save(&buffer, "JPEG");
    if (exif.isEmpty())
        return jpeg;
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + exif;
    QByteArray segment("\xFF\xE1\0\0", 4);
    qToBigEndian<quint16>(quint16(app1.size() + 2), segment.data() + 2);
    return jpeg.insert(2, segment + app1);
}

QString solidPicture(const App &app, const QString &name, QSize size, QColor colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    if (!img.save(app.filePath(name), "BMP"))
        qFatal("cannot write %s", qPrintable(name));
    return app.filePath(name);
}

void writePictureList(const App &app, const QString &interval, const QStringList &pictures)
{
    QByteArray b = interval.toUtf8() + "\r\n " + QByteArray::number(pictures.size()) + " \r\n";
    for (const QString &p : pictures)
        b += p.toUtf8() + "\r\n";
    app.writeFile(QStringLiteral("RozG.ini"), b);
}

bool answerMessage(const XServer &x)
{
    if (!x.activate(QStringLiteral("^Veroridovuz$")))
        return false;
    x.key(QStringLiteral("Return"));
    return waitFor([&] { return x.windowsNamed(QStringLiteral("^Veroridovuz$")).isEmpty(); });
}

} // namespace vz::test
