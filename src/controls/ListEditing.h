#pragma once
// The list editing that the picture and the music dialog share: composing a
// list entry from a browsed file, adding, removing and moving entries, and
// following a newly chosen drive.
//
// A list has a current entry (the one with the focus mark, -1 when none) and,
// apart from it, a set of selected entries; removing and moving work on the
// current entry.

#include <QString>
#include <QStringList>

#include <climits>

class QListWidget;
class QWidget;

namespace vz {

class DriveBox;
class FileBox;
class FolderBox;

// The full path of a file of folder: folder, separator, name, with no second
// separator when the folder already ends in one (the root).
QString fullPath(const QString &folder, const QString &fileName);

// The most entries a list file can hold: its count line is a 16-bit number.
inline constexpr int kMaxListEntries = 32767;

// What an append did. fitted is false when the list had no room for the
// files, and then nothing was appended. refused holds the full paths of chosen
// files that were left out because a list file cannot hold their names: a name
// whose bytes on disk are not text in the system encoding would be stored as a
// different name. The other chosen files were appended.
struct Appended {
    bool fitted = true;
    QStringList refused;
};

// The "&>>" button: with two or more files listed, appends every selected one
// in the file box's order; with exactly one file, appends it whether or not it
// is selected; with none, appends nothing. Then clears the file selection.
// When the list would grow beyond capacity, appends nothing and keeps the
// selection.
Appended appendChosenFiles(FileBox &files, QListWidget &list, int capacity = INT_MAX);

// Appends the file with the focus mark (a double-click on it), unless the list
// already holds capacity entries or the file's name cannot be stored.
Appended appendCurrentFile(const FileBox &files, QListWidget &list, int capacity = INT_MAX);

// The Remove button: with exactly one entry selected, removes the current
// entry; otherwise, with two or more entries, removes every selected one.
// Afterwards the list has no current entry.
void removeSelectedEntries(QListWidget &list);

// Removes the current entry, if there is one (a double-click on it).
void removeCurrentEntry(QListWidget &list);

// The text of the current entry; empty when there is none.
QString currentEntry(const QListWidget &list);

// Move the current entry of lstMove one place up or down and select it there;
// other entries keep their selection. Nothing happens without a current entry.
void cmdMoveUp_Click(QListWidget &lstMove);
void cmdMoveDown_Click(QListWidget &lstMove);

// Tells the user that a folder cannot be listed; the dialog goes on working.
void tellFolderUnreadable(QWidget *owner, const QString &folder);

// Tells the user that the list holds as many entries as it can ("play list",
// "songs" or "picture list", "pictures").
void tellListFull(QWidget *owner, const QString &list, const QString &entries);

// Tells the user what an append left out, if anything: either that the list is
// full (as tellListFull) or which files were refused for their names.
void tellNotAppended(QWidget *owner, const Appended &result, const QString &list, const QString &entries);

// Points the folder box at the drive now chosen. A drive that cannot be read
// gives the user a message and sends the drive box back to the fallback drive,
// whose change runs this again.
void followDrive(QWidget *owner, DriveBox &drives, FolderBox &folders);

} // namespace vz
