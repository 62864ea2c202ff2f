#include "platform/x11/SystemInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "platform/Logging.h"
#include "platform/x11/FindWindow.h"

namespace vz {

SystemInstance::SystemInstance(const QString &executablePath)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(QDir::cleanPath(executablePath).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_lock = std::make_unique<QLockFile>(folder + QStringLiteral("/veroridovuz-") +
                                         QString::fromLatin1(key) + QStringLiteral(".lock"));
    // A lock left by a copy that crashed is stale (its process is gone) and is
    // taken over; only a live holder counts as a previous instance.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return;
    m_prev = m_lock->error() == QLockFile::LockFailedError;
    // A lock that cannot be made at all says nothing of other copies; this
    // copy then runs as if it were the first.
    if (!m_prev)
        qCWarning(lcPlatform) << "no instance lock" << m_lock->error() << "in" << folder;
}

SystemInstance::~SystemInstance() = default;

bool SystemInstance::findWindow(const QString &caption) const { return x11FindWindow(caption); }

} // namespace vz
