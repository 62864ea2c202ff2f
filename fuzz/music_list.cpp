// The music list file loader, driven the way the music dialog and the show
// drive it: the input becomes "\RozM.ini" in the folder of a Program (on a
// temporary folder, with its own settings store). loadMusicSettings must match
// the list parsing on the same bytes and hold no more songs than the count
// line allows; readSongCount, which the show reads before each song, must
// give that count line; and a save and a second load give the same songs.

#include "FuzzSupport.h"

#include "settings/ListFile.h"
#include "settings/MusicSettings.h"
#include "support/TestProgram.h"

#include <algorithm>

using namespace vz;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::listProgram();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    test::TestProgram &program = fuzz::listProgram();
    program.writeProgramFile(kMusicListFile, bytes);
    const MusicSettings loaded = loadMusicSettings(*program);

    LineReader reader(bytes);
    const std::optional<Integer> count = readCount(reader);
    VZ_FUZZ_CHECK(readSongCount(*program) == count);
    VZ_FUZZ_CHECK(loaded.songs == readEntries(reader, count.value_or(0)));
    VZ_FUZZ_CHECK(loaded.songs.size() <= std::max<int>(0, count.value_or(0)));

    const int randomM = loaded.randomM.value_or(0);
    VZ_FUZZ_CHECK(saveMusicSettings(*program, randomM, loaded.songs));
    const MusicSettings again = loadMusicSettings(*program);
    VZ_FUZZ_CHECK(again.songs == loaded.songs);
    VZ_FUZZ_CHECK(again.randomM == randomM);
    VZ_FUZZ_CHECK(readSongCount(*program) == Integer(loaded.songs.size()));
    return 0;
}
