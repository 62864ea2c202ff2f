#pragma once
// The list editing that the picture and the music dialog share: composing a
// list entry from a browsed file, adding, removing and moving entries, and
// following a newly chosen drive.
//
// A list has a current entry (the one with the focus mark, -1 when none) and,
// apart from it, a set of selected entries; removing and moving work on the
// current entry.

#include <QString>

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

// The "&>>" button: with two or more files listed, appends every selected one
// in the file box's order; with exactly one file, appends it whether or not it
// is selected; with none, appends nothing. Then clears the file selection.
// When the list would grow beyond capacity, appends nothing, keeps the
// selection and gives false.
bool appendChosenFiles(FileBox &files, QListWidget &list, int capacity = INT_MAX);

// Appends the file with the focus mark (a double-click on it); false, and
// nothing appended, when the list already holds capacity entries.
bool appendCurrentFile(const FileBox &files, QListWidget &list, int capacity = INT_MAX);

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

// Points the folder box at the drive now chosen. A drive that cannot be read
// gives the user a message and sends the drive box back to the fallback drive,
// whose change runs this again.
void followDrive(QWidget *owner, DriveBox &drives, FolderBox &folders);

} // namespace vz
