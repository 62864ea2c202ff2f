// A stand-in for the system's login manager on a private message bus, for the
// idle-daemon tests: daemons such as xss-lock ask it for their session, take a
// sleep-delay lock and report the locked state, and stop when it is missing.
//   logind ADDRESS   serves org.freedesktop.login1 on the bus at ADDRESS, prints
//                    "ready" once the name is owned, then one line per call it
//                    receives ("SetLockedHint true", ...), until it is killed.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QTextStream>

#include <unistd.h>

namespace {

const QString kSessionId = QStringLiteral("vz");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/vz");

void report(const QString &line)
{
    QTextStream out(stdout);
    out << line << Qt::endl;
}

class Session : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(bool IdleHint READ idleHint)
    Q_PROPERTY(bool LockedHint READ lockedHint)
public:
    QString id() const { return kSessionId; }
    bool idleHint() const { return m_idle; }
    bool lockedHint() const { return m_locked; }

public Q_SLOTS:
    void SetIdleHint(bool idle)
    {
        m_idle = idle;
        report(idle ? QStringLiteral("SetIdleHint true") : QStringLiteral("SetIdleHint false"));
    }
    void SetLockedHint(bool locked)
    {
        m_locked = locked;
        report(locked ? QStringLiteral("SetLockedHint true") : QStringLiteral("SetLockedHint false"));
    }

Q_SIGNALS:
    void Lock();
    void Unlock();

private:
    bool m_idle = false;
    bool m_locked = false;
};

class Manager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public Q_SLOTS:
    QDBusObjectPath GetSessionByPID(uint pid)
    {
        report(QStringLiteral("GetSessionByPID %1").arg(pid));
        return QDBusObjectPath(kSessionPath);
    }
    QDBusObjectPath GetSession(const QString &id)
    {
        report(QStringLiteral("GetSession ") + id);
        return QDBusObjectPath(kSessionPath);
    }
    // The caller holds the lock as long as it keeps the returned descriptor
    // open; this end is kept so that the caller's end stays valid.
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why,
                                    const QString &mode)
    {
        report(QStringLiteral("Inhibit %1 %2 %3 (%4)").arg(what, mode, who, why));
        int fds[2];
        if (::pipe(fds) != 0)
            return {};
        m_kept.append(fds[0]);
        QDBusUnixFileDescriptor handed(fds[1]);
        ::close(fds[1]);
        return handed;
    }

Q_SIGNALS:
    void PrepareForSleep(bool start);

private:
    QList<int> m_kept;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]),
                                                        QStringLiteral("login1"));
    if (!bus.isConnected())
        return 1;
    Manager manager;
    Session session;
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                          QDBusConnection::ExportAllProperties;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager, exported) ||
        !bus.registerObject(kSessionPath, &session, exported) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1")))
        return 1;
    report(QStringLiteral("ready"));
    return app.exec();
}

#include "logind.moc"
