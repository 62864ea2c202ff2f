#pragma once
// The parts that the picture list file and the music list file share: a count
// line written as a whole number, then one full path per line.

#include "common/Result.h"
#include <QStringList>
#include <optional>

#include "runtime/Numbers.h"
#include "runtime/TextFile.h"

namespace vz {

// Reads the next line as a count; nullopt when the file ends or the line is not
// a whole number in the 16-bit range.
std::optional<Integer> readCount(LineReader &reader);

// Reads up to count entries, one whole line each. A file that ends early gives
// the entries it has; a negative count reads nothing.
QStringList readEntries(LineReader &reader, Integer count);

// Writes the count line and the entries in order.
void writeEntries(LineWriter &writer, const QStringList &entries);

// Whether a stored random switch names a state a check box takes: 0 clear,
// 1 ticked, 2 grayed. Anything else leaves the box as designed.
std::optional<int> checkStateFromStored(const QString &stored);

class Program;

// The section of the settings store that holds both random switches.
inline const QString kPresets = QStringLiteral("Presets");

// Reads a random switch ("RandomP", "RandomM") from the settings store, "0" when absent.
std::optional<int> loadStoredState(Program &program, const QString &key);

// Where a list file (named as "\RozG.ini") is read and saved. The lists live
// beside the program while its folder can be written. An install that the user
// cannot write (one for every user, under /usr) keeps each user's lists in the
// folder of the settings store, and reads the list beside the program as the
// starting point until the user has saved one of their own.
struct ListPlace {
    QString read;
    QString save;
    bool besideProgram = true;
};
ListPlace listPlace(Program &program, const QString &listFile);

// Stores the random switch under key first, then replaces the list file (named
// as "\RozG.ini", saved where listPlace says) with the lines. A failure's
// reason is a message for the user naming what could not be written and why;
// the previous file is then still whole.
Result<> saveChoices(Program &program, const QString &key, int state, const QString &listFile,
                     const LineWriter &lines);

// A check box's state under its key in the "Presets" section.
struct StoredState {
    QString key;
    int state;
};
// As above, with several switches stored in order before the file; the first
// that cannot be stored stops the save.
Result<> saveChoices(Program &program, const QList<StoredState> &states, const QString &listFile,
                     const LineWriter &lines);

} // namespace vz
