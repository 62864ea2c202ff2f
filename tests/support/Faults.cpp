#include "support/Faults.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

#include "support/Desktop.h"

namespace vz::test {

namespace {
const QString kFiller = QStringLiteral(".filler");
const QStringList kListFiles{QStringLiteral("RozG.ini"), QStringLiteral("RozM.ini")};
} // namespace

FolderFault::FolderFault(App &app, WriteFault kind) : m_app(app), m_kind(kind)
{
    if (kind == WriteFault::ReadOnlyFolder) {
        // The program runs as another user than the owner of its folder; a
        // test that is not root owns the folder and takes its write bit away.
        m_app.runUnprivileged();
    } else if (kind == WriteFault::FolderForListFile) {
        arm();
    } else {
        // A small disk of its own, with what the folder holds so far copied onto it.
        QMap<QString, QByteArray> kept;
        for (const QString &name : QDir(m_app.folder()).entryList(QDir::Files | QDir::Hidden))
            kept.insert(name, m_app.readFile(name));
        const QByteArray options = "size=" + QByteArray::number(kept.value("veroridovuz").size() + 512 * 1024);
        if (::mount("tmpfs", QFile::encodeName(m_app.folder()).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_unavailable = QStringLiteral("no tmpfs can be mounted here");
            return;
        }
        m_mounted = m_app.folder();
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            m_app.writeFile(it.key(), it.value());
        QFile::setPermissions(m_app.filePath("veroridovuz"), QFile::permissions(VZ_EXECUTABLE));
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
        QFile::setPermissions(m_app.folder(), QFile::permissions(m_app.folder()) & ~QFileDevice::WriteOwner);
    else if (m_kind == WriteFault::ReadOnlyFolder && ::chown(QFile::encodeName(m_app.folder()).constData(), ::geteuid(), ::getegid()) != 0)
        qFatal("cannot take the program's folder back");
    if (m_kind == WriteFault::FolderForListFile)
        for (const QString &name : kListFiles)
            if (!QFileInfo::exists(m_app.filePath(name)))
                QDir(m_app.folder()).mkpath(name + QStringLiteral("/kept"));
    if (m_kind != WriteFault::DiskFull)
        return;
    // Fills every block that is left, unbuffered, up to the first short write.
    QFile filler(m_app.filePath(kFiller));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot create %s", qPrintable(filler.fileName()));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
}

void FolderFault::lift()
{
    if (m_kind == WriteFault::DiskFull)
        QFile::remove(m_app.filePath(kFiller));
    else if (m_kind == WriteFault::FolderForListFile)
        for (const QString &name : kListFiles)
            if (QFileInfo(m_app.filePath(name)).isDir())
                QDir(m_app.filePath(name)).removeRecursively();
    if (m_kind != WriteFault::ReadOnlyFolder)
        return;
    if (m_app.programUid() == ::geteuid()) {
        QFile::setPermissions(m_app.folder(), QFile::permissions(m_app.folder()) | QFileDevice::WriteOwner);
        return;
    }
    // The folder and its files: a save replaces only a file it may write.
    for (const QString &name : QDir(m_app.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotDot))
        if (::chown(QFile::encodeName(m_app.filePath(name)).constData(), m_app.programUid(), m_app.programUid()) != 0)
            qFatal("cannot hand the program's folder to its user");
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        files.insert(QDir(folder).relativeFilePath(f.fileName()),
                     it.fileInfo().isDir() ? QByteArray("<folder>") : (f.open(QIODevice::ReadOnly) ? f.readAll() : "?"));
    }
    return files;
}

void addWriteFaultRows()
{
    QTest::addColumn<WriteFault>("fault");
    QTest::newRow("read-only folder") << WriteFault::ReadOnlyFolder;
    QTest::newRow("disk full") << WriteFault::DiskFull;
    QTest::newRow("list files are folders") << WriteFault::FolderForListFile;
}

} // namespace vz::test
