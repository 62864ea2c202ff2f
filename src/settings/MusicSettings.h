#pragma once
// The music choices: the music list file "\RozM.ini" (where listPlace says)
// (count line, then one path per line in play order) and the stored value "RandomM".

#include "common/Result.h"
#include <QString>
#include <QStringList>
#include <optional>

#include "runtime/Numbers.h"

namespace vz {

class Program;

inline const QString kMusicListFile = QStringLiteral("\\RozM.ini");
inline const QString kRandomM = QStringLiteral("RandomM");

struct MusicSettings {
    std::optional<int> randomM; // check state; nullopt leaves the box unchecked
    QStringList songs;
};

// Reads what is there and skips what is not; never fails.
MusicSettings loadMusicSettings(Program &program);

// Stores "RandomM", then replaces the file. A failure's reason is
// a message for the user; the previous file is then still whole.
Result<> saveMusicSettings(Program &program, int randomM, const QStringList &songs);

// The song count on the file's first line, as the show reads it before each
// song; nullopt when the file or the number is missing.
std::optional<Integer> readSongCount(Program &program);

} // namespace vz
