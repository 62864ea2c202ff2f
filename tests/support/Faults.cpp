#include "support/Faults.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

#include <sys/mount.h>

#include "support/Desktop.h"

namespace vz::test {

namespace {
const QString kFiller = QStringLiteral(".filler");
const QStringList kListFiles{QStringLiteral("RozG.ini"), QStringLiteral("RozM.ini")};
} // namespace

FolderFault::FolderFault(App &app, WriteFault kind) : m_app(app), m_kind(kind)
{
    if (kind == WriteFault::FolderForListFile) {
        arm();
        return;
    }
    // What the folder holds so far goes onto the small disk with it.
    QMap<QString, QByteArray> kept;
    for (const QString &name : QDir(m_app.folder()).entryList(QDir::Files))
        kept.insert(name, m_app.readFile(name));
    const QByteArray size = QByteArray::number(kept.value(QStringLiteral("veroridovuz")).size() + 512 * 1024);
    if (!mount("size=" + size)) {
        m_unavailable = QStringLiteral("no file system can be mounted here");
        return;
    }
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        m_app.writeFile(it.key(), it.value());
    QFile::setPermissions(m_app.filePath(QStringLiteral("veroridovuz")), QFile::permissions(QStringLiteral(VZ_EXECUTABLE)));
}

FolderFault::~FolderFault()
{
    // Detached at once; the file system goes when the program has let go of it.
    if (m_kind != WriteFault::FolderForListFile && m_unavailable.isEmpty())
        ::umount2(QFile::encodeName(m_app.folder()).constData(), MNT_DETACH);
}

// A small disk on the program's folder ("size=N"), or that disk made
// read-only ("ro") or writable again ("rw").
bool FolderFault::mount(const QByteArray &options)
{
    const bool again = !options.startsWith("size");
    const unsigned long flags = again ? MS_REMOUNT | (options == "ro" ? MS_RDONLY : 0) : 0;
    return ::mount("tmpfs", QFile::encodeName(m_app.folder()).constData(), "tmpfs", flags,
                   again ? nullptr : options.constData()) == 0;
}

void FolderFault::arm()
{
    if (m_kind == WriteFault::ReadOnlyFolder && !mount("ro"))
        qFatal("cannot make the program's folder read-only");
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
    if (m_kind == WriteFault::ReadOnlyFolder && !mount("rw"))
        qFatal("cannot make the program's folder writable again");
    if (m_kind == WriteFault::DiskFull)
        QFile::remove(m_app.filePath(kFiller));
    if (m_kind == WriteFault::FolderForListFile)
        for (const QString &name : kListFiles)
            if (QFileInfo(m_app.filePath(name)).isDir())
                QDir(m_app.filePath(name)).removeRecursively();
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
    // A program folder that its user cannot write is no fault: the lists then
    // go to the user's configuration folder (tests/e2e/tst_desktops.cpp).
    QTest::newRow("disk full") << WriteFault::DiskFull;
    QTest::newRow("list files are folders") << WriteFault::FolderForListFile;
}

} // namespace vz::test
