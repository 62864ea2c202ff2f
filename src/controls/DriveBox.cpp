#include "controls/DriveBox.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace vz {

namespace {

constexpr int kRootRole = Qt::UserRole;

bool onRealDevice(const QStorageInfo &volume)
{
    return volume.device().startsWith("/dev/");
}

bool holds(const QString &root, const QString &path)
{
    if (root == u'/')
        return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

} // namespace

DriveBox::DriveBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (m_listed)
            Q_EMIT changed();
    });
}

QString DriveBox::drive()
{
    ensureListed();
    return currentData(kRootRole).toString();
}

void DriveBox::setDrive(const QString &path)
{
    ensureListed();
    choose(path);
}

void DriveBox::showEvent(QShowEvent *event)
{
    ensureListed();
    QComboBox::showEvent(event);
}

// The first listing starts the box where the process is; filling and choosing
// that drive is not a change anyone made.
void DriveBox::ensureListed()
{
    if (m_listed)
        return;
    fill();
    choose(QDir::currentPath());
    m_listed = true;
}

void DriveBox::choose(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i, kRootRole).toString();
        if (holds(root, clean) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}

void DriveBox::addDrive(const QString &root, const QString &label)
{
    ensureListed();
    append(root, label);
}

void DriveBox::append(const QString &root, const QString &label)
{
    addItem(label.isEmpty() || label == root ? root : QStringLiteral("%1 [%2]").arg(root, label), root);
}

void DriveBox::fill()
{
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::stable_sort(volumes.begin(), volumes.end(), [](const QStorageInfo &a, const QStorageInfo &b) {
        if (a.isRoot() != b.isRoot())
            return a.isRoot();
        if (onRealDevice(a) != onRealDevice(b))
            return onRealDevice(a);
        return a.rootPath() < b.rootPath();
    });
    bool haveRoot = false;
    for (const QStorageInfo &volume : volumes) {
        haveRoot = haveRoot || volume.isRoot();
        append(volume.rootPath(), volume.name());
    }
    if (!haveRoot)
        insertItem(0, kFallbackDrive, kFallbackDrive);
}

} // namespace vz
