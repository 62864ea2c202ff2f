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

// A small disk on the program's folder ("size=N"), or that disk remounted.
bool mountOn(const App &app, unsigned long flags, const char *options = nullptr)
{
    return ::mount("tmpfs", QFile::encodeName(app.folder()).constData(), "tmpfs", flags, options) == 0;
}
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
    const QByteArray size = "size=" + QByteArray::number(kept.value(QStringLiteral("veroridovuz")).size() + 512 * 1024);
    if (!mountOn(m_app, 0, size.constData())) {
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

void FolderFault::arm()
{
    if (m_kind == WriteFault::ReadOnlyFolder && !mountOn(m_app, MS_REMOUNT | MS_RDONLY))
        qFatal("cannot make the program's folder read-only");
    for (const QString &name : m_kind == WriteFault::FolderForListFile ? kListFiles : QStringList())
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
    if (m_kind == WriteFault::ReadOnlyFolder && !mountOn(m_app, MS_REMOUNT))
        qFatal("cannot make the program's folder writable again");
    QFile::remove(m_app.filePath(kFiller));
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
