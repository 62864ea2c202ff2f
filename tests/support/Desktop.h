#pragma once
// The end-to-end harness: a private X server (Xvfb, display number chosen by the
// server itself through -displayfd), the real executable copied into a fresh
// folder with its own HOME and configuration folder, and real input through
// xdotool. Everything is stopped and removed when the objects go.

#include <QImage>
#include <QRect>
#include <functional>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace vz::test {

// Runs a program to its end with a time limit; returns its standard output.
struct RunResult {
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;
};
RunResult run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
              int timeoutMs = 20000);

class XServer
{
public:
    explicit XServer(QSize size = QSize(1024, 768), int depth = 24);
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    bool ok() const { return !m_display.isEmpty(); }
    const QString &display() const { return m_display; }
    QSize size() const { return m_size; }
    // An environment that points X clients at this server.
    QProcessEnvironment env() const;

    // xdotool on this display; returns its standard output, trimmed.
    QString xdo(const QStringList &args) const;
    // Window ids whose title matches the regular expression.
    QStringList windowsNamed(const QString &regex) const;
    // The whole screen as an image.
    QImage screenshot() const;
    // Saves a screenshot when the environment asks for one (VZ_SHOTS=folder).
    void keepShot(const QString &name) const;

    void mouseMove(int x, int y) const;
    void click(int button = 1) const;
    void doubleClick() const;
    void key(const QString &keys) const;
    void type(const QString &text) const;

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

    // The folder of the copied executable, where its list files live.
    QString folder() const;
    QString configHome() const;
    QString filePath(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;
    // Stores a value in the program's settings store, as the program would.
    void setStored(const QString &key, const QString &value) const;
    QString stored(const QString &key) const;

    // From the next start on, the program runs as an ordinary user (nobody)
    // when the test runs as root, so that file permissions hold for it. Its
    // home, configuration and runtime folders are handed to that user; the
    // program's own folder stays the test's. False when the test is not root.
    bool runUnprivileged();
    // The user the program runs as.
    uint programUid() const;

    QProcessEnvironment env() const { return m_env; }
    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }

    // Starts the program with the arguments and returns at once.
    void start(const QStringList &args);
    // Starts one more copy of the same installation (same executable, same
    // environment), as a second instance would be; the caller owns it.
    std::unique_ptr<QProcess> launch(const QStringList &args) const;
    // Runs one more copy with the arguments to its end.
    RunResult runToEnd(const QStringList &args, int timeoutMs = 20000);
    bool waitForExit(int timeoutMs = 10000);
    bool running() const;
    int exitCode() const { return m_process.exitCode(); }
    QByteArray stderrText() { return m_stderr += m_process.readAllStandardError(); }
    qint64 pid() const { return m_process.processId(); }

private:
    void prepare(QProcess &process) const;

    const XServer &m_x;
    QTemporaryDir m_dir;
    bool m_unprivileged = false;
    QProcessEnvironment m_env;
    QProcess m_process;
    QByteArray m_stderr;
};

// Waits until pred() holds or the time runs out, running the event loop meanwhile.
bool waitFor(const std::function<bool()> &pred, int timeoutMs = 10000);

// The rectangle of a window on the screen (xdotool getwindowgeometry).
std::optional<QRect> windowGeometry(const XServer &x, const QString &windowId);

// Whether a pixel shows the colour, each channel within the tolerance.
bool near(QColor shown, QColor expected, int tolerance = 24);

// A bitmap of one colour in the program's folder; returns its path.
QString solidPicture(const App &app, const QString &name, QSize size, QColor colour);
// The picture list file: the interval line, the count and the pictures.
void writePictureList(const App &app, const QString &interval, const QStringList &pictures);

// Whether the X server's current cursor image is fully transparent; nullopt
// when the display cannot be opened.
std::optional<bool> cursorIsBlank(const QString &display);

// A time limit on how fast the program responds, stretched by the factor in
// VZ_TEST_TIME_SCALE: a sanitizer build runs several times slower and checks
// the whole heap for leaks as each program ends.
inline qint64 scaledMs(qint64 ms)
{
    const int factor = qEnvironmentVariableIntValue("VZ_TEST_TIME_SCALE");
    return factor > 1 ? ms * factor : ms;
}

} // namespace vz::test
