#pragma once
// The end-to-end harness: a private X server (Xvfb, display number chosen by the
// server itself through -displayfd), the real executable copied into a fresh
// folder with its own HOME and configuration folder, and real input through
// xdotool. Everything is stopped and removed when the objects go.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

namespace vz::test {

struct RunResult {
    int exitCode = -1;
    bool finished = false;
    QByteArray out, err;
};
// Runs a program to its end, killed when the time runs out.
RunResult run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
              int timeoutMs = 20000, const QString &folder = {});

// Waits until pred() holds or the time runs out, running the event loop meanwhile.
bool waitFor(const std::function<bool()> &pred, int timeoutMs = 10000);
// Waits until each named predicate has held once (it is not asked again after
// that), so that shows on servers of their own run side by side; the names of
// those that never held, empty when all did.
QString waitForEach(const QList<std::pair<QString, std::function<bool()>>> &preds, int timeoutMs = 10000);

class XServer
{
public:
    explicit XServer(QSize size = QSize(1024, 768));
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    bool ok() const { return !m_display.isEmpty(); }
    const QString &display() const { return m_display; }
    QSize size() const { return m_size; }
    QProcessEnvironment env() const; // X clients' environment for this server
    QString xdo(const QStringList &args) const; // xdotool's output, trimmed
    // Visible windows whose title matches the regular expression.
    QStringList windowsNamed(const QString &regex) const;
    // Waits for one; its id and rectangle on the screen.
    std::optional<std::pair<QString, QRect>> waitForWindow(const QString &regex, int timeoutMs = 15000) const;
    // Waits for one, gives it the keyboard focus and the pointer at its centre.
    std::optional<QRect> activate(const QString &regex, int timeoutMs = 15000) const;
    QImage screenshot() const;
    void mouseMove(int x, int y) const;
    void mouseMove(QPoint p) const { mouseMove(p.x(), p.y()); }
    void click(int button = 1) const;
    void key(const QString &keys) const; // xdotool's names, blank-separated ("alt+o Tab")
    // Adds a monitor of the server's one screen, the primary one if so said.
    bool addMonitor(const QString &name, QRect r, bool primary, const QString &outputs) const;
    // Asks a window to close, as a window manager does for its close box.
    bool closeWindow(const QString &windowId) const;
    // Whether the cursor the server shows now is fully transparent.
    std::optional<bool> cursorIsBlank() const;

private:
    QProcess m_server;
    QString m_display;
    QSize m_size;
};

// The program under test, copied into a temporary folder so that its list files
// land there; HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR live there too.
class App
{
public:
    explicit App(const XServer &x);
    ~App();
    App(const App &) = delete;
    App &operator=(const App &) = delete;

    QString folder() const; // of the copied executable, where its list files live
    QString configHome() const { return m_env.value(QStringLiteral("XDG_CONFIG_HOME")); }
    QString filePath(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;
    // The program's stored settings.
    void setStored(const QString &key, const QString &value) const;
    QString stored(const QString &key) const;

    QProcessEnvironment env() const { return m_env; }
    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }

    void start(const QStringList &args); // returns at once
    // One more copy of the same installation, started, or run to its end.
    std::unique_ptr<QProcess> launch(const QStringList &args) const;
    RunResult runToEnd(const QStringList &args, int timeoutMs = 20000);
    bool waitForExit(int timeoutMs = 10000);
    bool running() const;
    int exitCode() const { return m_process.exitCode(); }
    QByteArray stderrText() { return m_stderr += m_process.readAllStandardError(); }
    qint64 pid() const { return m_process.processId(); }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_process;
    QByteArray m_stderr;
};

// Whether a pixel shows the colour, each channel within the tolerance.
bool near(QColor shown, QColor expected, int tolerance = 24);

// A bitmap of one colour in the program's folder; its path.
QString solidPicture(const App &app, const QString &name, QSize size, QColor colour);
// An EXIF block (a TIFF structure) whose Exif IFD holds DateTimeOriginal as
// the given text, in either byte order.
QByteArray exifWithDate(const QByteArray &text, bool bigEndian = false);
// A small JPEG carrying the EXIF block (none when it is empty) in its APP1 segment.
QByteArray jpegWithExif(const QByteArray &exif);

void writePictureList(const App &app, const QString &interval, const QStringList &pictures);

// Answers the message box titled "Veroridovuz" with Enter; true once it has gone.
bool answerMessage(const XServer &x);

// A time limit on how fast the program responds, stretched by the factor in
// VZ_TEST_TIME_SCALE: a sanitizer build runs several times slower.
inline qint64 scaledMs(qint64 ms)
{
    const int factor = qEnvironmentVariableIntValue("VZ_TEST_TIME_SCALE");
    return factor > 1 ? ms * factor : ms;
}

} // namespace vz::test
