#include "support/Desktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRect>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <QDirIterator>
#include <functional>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <grp.h>
#include <unistd.h>

namespace vz::test {

namespace {

// Waits for a started process to end, killing it when the time runs out.
RunResult finish(QProcess &p, int timeoutMs)
{
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

} // namespace

RunResult run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
              int timeoutMs)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    return finish(p, timeoutMs);
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

XServer::XServer(QSize size, int depth) : m_size(size)
{
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"),
                    QStringLiteral("%1x%2x%3").arg(size.width()).arg(size.height()).arg(depth),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_server.waitForStarted(10000))
        return;
    QByteArray out;
    QDeadlineTimer deadline(20000);
    while (!out.contains('\n') && !deadline.hasExpired() && m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(200);
        out += m_server.readAllStandardOutput();
    }
    const QString number = QString::fromLatin1(out).trimmed();
    if (!number.isEmpty())
        m_display = u':' + number;
}

XServer::~XServer()
{
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(2000);
    }
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

QStringList XServer::windowsNamed(const QString &regex) const
{
    const QString out = xdo({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), regex});
    return out.isEmpty() ? QStringList() : out.split(u'\n');
}

QImage XServer::screenshot() const
{
    const RunResult r = run(QStringLiteral("import"),
                            {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")},
                            env());
    QImage img;
    img.loadFromData(r.out, "PNG");
    return img.convertToFormat(QImage::Format_RGB32);
}

void XServer::keepShot(const QString &name) const
{
    const QString folder = qEnvironmentVariable("VZ_SHOTS");
    if (!folder.isEmpty())
        screenshot().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

void XServer::mouseMove(int x, int y) const
{
    xdo({QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
}

void XServer::click(int button) const { xdo({QStringLiteral("click"), QString::number(button)}); }

void XServer::doubleClick() const
{
    xdo({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
         QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
}

void XServer::key(const QString &keys) const
{
    QStringList args{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")};
    args += keys.split(u' ');
    xdo(args);
}

void XServer::type(const QString &text) const
{
    xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

std::optional<QRect> windowGeometry(const XServer &x, const QString &windowId)
{
    const QString out = x.xdo({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId});
    QRect r;
    int found = 0;
    for (const QString &line : out.split(u'\n')) {
        const auto kv = line.split(u'=');
        if (kv.size() != 2)
            continue;
        const int v = kv[1].toInt();
        if (kv[0] == u"X") { r.moveLeft(v); ++found; }
        else if (kv[0] == u"Y") { r.moveTop(v); ++found; }
        else if (kv[0] == u"WIDTH") { r.setWidth(v); ++found; }
        else if (kv[0] == u"HEIGHT") { r.setHeight(v); ++found; }
    }
    if (found != 4)
        return std::nullopt;
    return r;
}

App::App(const XServer &x) : m_x(x)
{
    const QDir dir(m_dir.path());
    for (const char *sub : {"bin", "home", "config", "run"})
        dir.mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::copy(QStringLiteral(VZ_EXECUTABLE), dir.filePath(QStringLiteral("bin/veroridovuz")));
    m_env = x.env();
    m_env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_env.remove(QStringLiteral("SESSION_MANAGER"));
    m_env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_process.setProcessEnvironment(m_env);
    m_process.setWorkingDirectory(folder());
}

App::~App()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString App::folder() const { return QDir(m_dir.path()).filePath(QStringLiteral("bin")); }
QString App::configHome() const { return QDir(m_dir.path()).filePath(QStringLiteral("config")); }
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

static QString storeFile(const QString &configHome)
{
    return configHome + QStringLiteral("/Veroridovuz/Veroridovuz.conf");
}

void App::setStored(const QString &key, const QString &value) const
{
    QSettings s(storeFile(configHome()), QSettings::IniFormat);
    s.setValue(QStringLiteral("Presets/") + key, value);
}

QString App::stored(const QString &key) const
{
    QSettings s(storeFile(configHome()), QSettings::IniFormat);
    return s.value(QStringLiteral("Presets/") + key).toString();
}

namespace {
constexpr uid_t kNobody = 65534;
} // namespace

bool App::runUnprivileged()
{
    if (::geteuid() != 0)
        return false;
    m_unprivileged = true;
    // The temporary folder is the test's alone; the program has to reach its
    // own folder inside it.
    QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFileDevice::ReadOther
                                            | QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    return true;
}

uint App::programUid() const { return m_unprivileged ? kNobody : ::geteuid(); }

void App::prepare(QProcess &process) const
{
    process.setProcessEnvironment(m_env);
    process.setWorkingDirectory(folder());
    if (!m_unprivileged)
        return;
    // What the test wrote into the program's private folders becomes the program's.
    const QDir dir(m_dir.path());
    for (const char *sub : {"home", "config", "run"}) {
        const QString top = dir.filePath(QString::fromLatin1(sub));
        if (::chown(QFile::encodeName(top).constData(), kNobody, kNobody) != 0)
            qWarning("cannot hand %s to the program's user", qPrintable(top));
        QDirIterator it(top, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            if (::chown(QFile::encodeName(it.next()).constData(), kNobody, kNobody) != 0)
                qWarning("cannot hand %s to the program's user", qPrintable(it.filePath()));
    }
    process.setChildProcessModifier([] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(126);
    });
}

void App::start(const QStringList &args)
{
    prepare(m_process);
    m_process.start(filePath(QStringLiteral("veroridovuz")), args);
    m_process.waitForStarted(10000);
}

std::unique_ptr<QProcess> App::launch(const QStringList &args) const
{
    auto p = std::make_unique<QProcess>();
    prepare(*p);
    p->start(filePath(QStringLiteral("veroridovuz")), args);
    p->waitForStarted(10000);
    return p;
}

RunResult App::runToEnd(const QStringList &args, int timeoutMs)
{
    QProcess p;
    prepare(p);
    p.start(filePath(QStringLiteral("veroridovuz")), args);
    return finish(p, timeoutMs);
}

bool App::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

bool App::running() const { return m_process.state() != QProcess::NotRunning; }

bool near(QColor shown, QColor expected, int tolerance)
{
    return qAbs(shown.red() - expected.red()) <= tolerance && qAbs(shown.green() - expected.green()) <= tolerance
        && qAbs(shown.blue() - expected.blue()) <= tolerance;
}

QString solidPicture(const App &app, const QString &name, QSize size, QColor colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = app.filePath(name);
    if (!img.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void writePictureList(const App &app, const QString &interval, const QStringList &pictures)
{
    QByteArray b = interval.toUtf8() + "\r\n " + QByteArray::number(pictures.size()) + " \r\n";
    for (const QString &p : pictures)
        b += p.toUtf8() + "\r\n";
    app.writeFile(QStringLiteral("RozG.ini"), b);
}

std::optional<bool> cursorIsBlank(const QString &display)
{
    Display *d = XOpenDisplay(display.toLocal8Bit().constData());
    if (!d)
        return std::nullopt;
    std::optional<bool> blank;
    if (XFixesCursorImage *img = XFixesGetCursorImage(d)) {
        blank = true;
        for (unsigned long i = 0; i < static_cast<unsigned long>(img->width) * img->height; ++i)
            if ((img->pixels[i] >> 24) & 0xff)
                blank = false;
        XFree(img);
    }
    XCloseDisplay(d);
    return blank;
}

} // namespace vz::test
