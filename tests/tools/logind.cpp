// A stand-in for the system's login manager on a private message bus, for the
// idle-daemon test: daemons such as xss-lock ask it for their session, and
// stop when it is missing.
//   logind ADDRESS   serves org.freedesktop.login1 on the bus at ADDRESS and
//                    prints "ready" once the name is owned.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <cstdio>

class Manager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public Q_SLOTS:
    QDBusObjectPath GetSessionByPID(uint) { return QDBusObjectPath(QStringLiteral("/org/freedesktop/login1/session/vz")); }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[argc - 1]), QStringLiteral("login1"));
    Manager manager;
    if (argc != 2 || !bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.login1")))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

#include "logind.moc"
