#include "support/Faults.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

#include "support/Desktop.h"

namespace vz::test {

namespace {
const QString kFiller = QStringLiteral(".filler");
// Room on the small disk beside the executable for the test's own files.
constexpr qint64 kSpare = 512 * 1024;
} // namespace

FolderFault::FolderFault(App &app, WriteFault kind, const QString &listFile)
    : m_app(app), m_kind(kind), m_listFile(listFile)
{
    switch (kind) {
    case WriteFault::ReadOnlyFolder:
        // The program runs as another user than the owner of its folder; a
        // test that is not root owns the folder and takes its write bit away.
        m_app.runUnprivileged();
        break;
    case WriteFault::DiskFull: {
        const QString folder = m_app.folder();
        const QString exe = m_app.filePath(QStringLiteral("veroridovuz"));
        const qint64 size = QFileInfo(exe).size() + kSpare;
        // What the folder holds so far goes onto the small disk with it.
        QMap<QString, QByteArray> kept;
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            if (name != u"veroridovuz")
                kept.insert(name, m_app.readFile(name));
        const QByteArray options = "size=" + QByteArray::number(size);
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_unavailable = QStringLiteral("no tmpfs can be mounted here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = folder;
        // The mount hides the copied executable: copy it onto the small disk.
        if (!QFile::copy(QStringLiteral(VZ_EXECUTABLE), exe))
            m_unavailable = QStringLiteral("the executable does not fit on the small disk");
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            m_app.writeFile(it.key(), it.value());
        break;
    }
    case WriteFault::FolderForListFile:
        QDir(m_app.folder()).mkpath(m_listFile + QStringLiteral("/kept"));
        m_app.writeFile(m_listFile + QStringLiteral("/kept/inside.txt"), "kept\r\n");
        break;
    }
}

FolderFault::~FolderFault()
{
    // Detached at once; the file system goes when the program has let go of it.
    if (!m_mounted.isEmpty())
        ::umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
}

void FolderFault::arm()
{
    if (m_kind == WriteFault::ReadOnlyFolder && m_app.programUid() == ::geteuid())
        QFile::setPermissions(m_app.folder(), QFile::permissions(m_app.folder()) & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser));
    if (m_kind != WriteFault::DiskFull)
        return;
    // Fills every block that is left; writes go out unbuffered, so the first
    // short write is the disk refusing more.
    QFile filler(m_app.filePath(kFiller));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot create %s", qPrintable(filler.fileName()));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
}

void FolderFault::lift()
{
    switch (m_kind) {
    case WriteFault::ReadOnlyFolder:
        if (m_app.programUid() == ::geteuid())
            QFile::setPermissions(m_app.folder(), QFile::permissions(m_app.folder()) | QFileDevice::WriteOwner);
        else
            // The folder and the files in it: a save replaces only a file it may write.
            for (const QString &name : QDir(m_app.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotDot))
                if (::chown(QFile::encodeName(m_app.filePath(name)).constData(), m_app.programUid(), m_app.programUid()) != 0)
                    qFatal("cannot hand the program's folder to its user");
        break;
    case WriteFault::DiskFull:
        QFile::remove(m_app.filePath(kFiller));
        break;
    case WriteFault::FolderForListFile:
        QDir(m_app.filePath(m_listFile)).removeRecursively();
        break;
    }
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QDir base(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(base.relativeFilePath(path),
                     it.fileInfo().isDir() ? QByteArray("<folder>") : (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>")));
    }
    return files;
}

void addWriteFaultRows()
{
    QTest::addColumn<WriteFault>("fault");
    // A program folder that its user cannot write is no fault: the lists then
    // go to the user's configuration folder (tests/e2e/tst_desktops.cpp).
    QTest::newRow("disk full") << WriteFault::DiskFull;
    QTest::newRow("list file is a folder") << WriteFault::FolderForListFile;
}

} // namespace vz::test
