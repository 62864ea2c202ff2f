#include "settings/MusicSettings.h"

#include "runtime/Program.h"
#include "settings/ListFile.h"

namespace vz {

MusicSettings loadMusicSettings(Program &program)
{
    MusicSettings s;
    s.randomM = loadStoredState(program, kRandomM);
    const auto bytes = readWholeFile(listPlace(program, kMusicListFile).read);
    if (!bytes)
        return s;
    LineReader reader(*bytes);
    s.songs = readEntries(reader, readCount(reader).value_or(0));
    return s;
}

Result<> saveMusicSettings(Program &program, int randomM, const QStringList &songs)
{
    LineWriter lines;
    writeEntries(lines, songs);
    return saveChoices(program, kRandomM, randomM, kMusicListFile, lines);
}

std::optional<Integer> readSongCount(Program &program)
{
    // Only the first line counts; the file is small, so it is read whole.
    const auto bytes = readWholeFile(listPlace(program, kMusicListFile).read);
    if (!bytes)
        return std::nullopt;
    LineReader reader(*bytes);
    return readCount(reader);
}

} // namespace vz
