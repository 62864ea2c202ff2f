#include "controls/ListEditing.h"

#include <QDir>
#include <QFile>
#include <QListWidget>

#include "controls/DriveBox.h"
#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "runtime/MessageBox.h"
#include "runtime/TextFile.h"

namespace vz {

namespace {

void forgetCurrent(QListWidget &list)
{
    list.selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void removeAt(QListWidget &list, int row)
{
    delete list.takeItem(row);
}

// Inserts a copy of the entry at from at position to, removes the original
// (which the insertion may have shifted) and makes the copy current and selected.
void moveEntry(QListWidget &list, int from, int to, int removeAtAfterInsert, int landing)
{
    const QString text = list.item(from)->text();
    list.insertItem(to, text);
    removeAt(list, removeAtAfterInsert);
    list.selectionModel()->setCurrentIndex(list.model()->index(landing, 0),
                                           QItemSelectionModel::Select);
}

// Whether the list file can hold the listed file's full path: the text comes
// back unchanged from the system encoding, and the name it writes is the
// file's name on disk.
bool storable(const FileBox &files, const QListWidgetItem *item, const QString &path)
{
    return isEncodable(path) && (!item || QFile::encodeName(item->text()) == files.nameOnDisk(item));
}

} // namespace

QString fullPath(const QString &folder, const QString &fileName)
{
    if (folder.endsWith(u'/'))
        return folder + fileName;
    return folder + u'/' + fileName;
}

Appended appendChosenFiles(FileBox &files, QListWidget &list, int capacity)
{
    QList<const QListWidgetItem *> chosen;
    const int n = files.count();
    if (n >= 2) {
        for (int i = 0; i < n; ++i)
            if (files.item(i)->isSelected())
                chosen.append(files.item(i));
    } else if (n == 1) {
        chosen.append(files.item(0));
    }
    Appended result;
    QStringList paths;
    for (const QListWidgetItem *item : chosen) {
        const QString path = fullPath(files.path(), item->text());
        (storable(files, item, path) ? paths : result.refused).append(path);
    }
    if (paths.size() > capacity - list.count())
        return {false, {}};
    list.addItems(paths);
    files.clearSelection();
    return result;
}

Appended appendCurrentFile(const FileBox &files, QListWidget &list, int capacity)
{
    if (list.count() >= capacity)
        return {false, {}};
    const QString path = fullPath(files.path(), files.fileName());
    if (!storable(files, files.currentItem(), path))
        return {true, {path}};
    list.addItem(path);
    return {};
}

void removeSelectedEntries(QListWidget &list)
{
    const int selected = int(list.selectionModel()->selectedRows().size());
    if (selected == 1) {
        removeCurrentEntry(list);
        return;
    }
    if (list.count() >= 2) {
        bool removedCurrent = false;
        for (int i = list.count() - 1; i >= 0; --i) {
            if (!list.item(i)->isSelected())
                continue;
            removedCurrent = removedCurrent || i == list.currentRow();
            removeAt(list, i);
        }
        // The view would hand the focus mark to a neighbour; a removed current
        // entry leaves the list without one.
        if (removedCurrent)
            forgetCurrent(list);
    }
}

void removeCurrentEntry(QListWidget &list)
{
    const int row = list.currentRow();
    if (row < 0)
        return;
    removeAt(list, row);
    forgetCurrent(list);
}

QString currentEntry(const QListWidget &list)
{
    const QListWidgetItem *item = list.currentItem();
    return item ? item->text() : QString();
}

void cmdMoveUp_Click(QListWidget &lstMove)
{
    const int p = lstMove.currentRow();
    if (p < 1)
        return;
    moveEntry(lstMove, p, p - 1, p + 1, p - 1);
}

void cmdMoveDown_Click(QListWidget &lstMove)
{
    const int p = lstMove.currentRow();
    if (p < 0 || p + 1 >= lstMove.count())
        return;
    moveEntry(lstMove, p, p + 2, p, p + 1);
}

void followDrive(QWidget *owner, DriveBox &drives, FolderBox &folders)
{
    if (folders.setPath(drives.drive()))
        return;
    msgBox(owner, QStringLiteral("The selected drive is not ready or\r\nnot responding properly"));
    drives.setDrive(DriveBox::kFallbackDrive);
}

void tellFolderUnreadable(QWidget *owner, const QString &folder)
{
    msgBox(owner, QStringLiteral("The folder\r\n%1\r\ncannot be read.").arg(QDir::toNativeSeparators(folder)),
           MsgIcon::Information);
}

void tellListFull(QWidget *owner, const QString &list, const QString &entries)
{
    msgBox(owner, QStringLiteral("The %1 is full: it holds at most %2 %3.").arg(list).arg(kMaxListEntries).arg(entries),
           MsgIcon::Information);
}

void tellNotAppended(QWidget *owner, const Appended &result, const QString &list, const QString &entries)
{
    if (!result.fitted) {
        tellListFull(owner, list, entries);
        return;
    }
    if (result.refused.isEmpty())
        return;
    QStringList shown;
    for (const QString &path : result.refused)
        shown.append(QDir::toNativeSeparators(path));
    const QString text = result.refused.size() == 1
        ? QStringLiteral("The file\r\n%1\r\nis not added: its name has bytes that are not characters in the "
                         "system's encoding, so the %2 could not find the file again.\r\n"
                         "Rename the file, then add it.")
        : QStringLiteral("The files\r\n%1\r\nare not added: their names have bytes that are not characters in "
                         "the system's encoding, so the %2 could not find the files again.\r\n"
                         "Rename the files, then add them.");
    msgBox(owner, text.arg(shown.join(QStringLiteral("\r\n")), list), MsgIcon::Information);
}

} // namespace vz
