#include "platform/posix/LockClaim.h"

#include <QFile>
#include <QRegularExpression>

#include "platform/Logging.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vz {

QString LockClaim::fileFor(const QString &folder, const QString &display)
{
    QString key = display;
    key.remove(QRegularExpression(QStringLiteral("\\.\\d+$")));
    key.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    return folder + QStringLiteral("/veroridovuz-music-") + key + QStringLiteral(".lock");
}

LockClaim::LockClaim(QString file) : m_file(std::move(file))
{
    m_retry.setInterval(500);
    connect(&m_retry, &QTimer::timeout, this, &LockClaim::tryTake);
}

LockClaim::~LockClaim() { release(); }

void LockClaim::request()
{
    if (m_held || m_retry.isActive())
        return;
    tryTake();
    if (!m_held)
        m_retry.start();
}

void LockClaim::release()
{
    m_retry.stop();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_held = false;
}

void LockClaim::tryTake()
{
    if (m_fd < 0)
        m_fd = ::open(QFile::encodeName(m_file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    const bool locked = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    if (!locked && m_fd >= 0 && errno == EWOULDBLOCK)
        return;
    // A claim that cannot be made at all says nothing of other shows: this
    // one plays rather than every show staying silent.
    if (!locked)
        qCWarning(lcPlatform) << "no music claim" << m_file << std::strerror(errno);
    m_retry.stop();
    m_held = true;
    Q_EMIT gained();
}

} // namespace vz
