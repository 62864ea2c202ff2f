// The picture list file loader, driven the way the picture dialog and the show
// drive it: the input becomes "\RozG.ini" in the folder of a Program (on a
// temporary folder, with its own settings store) and loadPictureSettings reads
// it. What it gives must match the list parsing on the same bytes, hold no
// more pictures than the count line allows, and survive a save and a second
// load unchanged (an empty interval is saved as 10).

#include "FuzzSupport.h"

#include "settings/ListFile.h"
#include "settings/PictureSettings.h"
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
    program.writeProgramFile(kPictureListFile, bytes);
    const PictureSettings loaded = loadPictureSettings(*program);

    LineReader reader(bytes);
    const std::optional<QString> interval = reader.next();
    const std::optional<Integer> count = readCount(reader);
    VZ_FUZZ_CHECK(loaded.interval == interval);
    VZ_FUZZ_CHECK(loaded.pictures == readEntries(reader, count.value_or(0)));
    VZ_FUZZ_CHECK(loaded.pictures.size() <= std::max<int>(0, count.value_or(0)));

    const int randomP = loaded.randomP.value_or(0);
    VZ_FUZZ_CHECK(savePictureSettings(*program, randomP, loaded.interval.value_or(QString()),
                                       loaded.pictures));
    const PictureSettings again = loadPictureSettings(*program);
    const QString savedInterval = loaded.interval.value_or(QString()).isEmpty()
        ? formatNumber(10) : *loaded.interval;
    VZ_FUZZ_CHECK(again.interval == savedInterval);
    VZ_FUZZ_CHECK(again.pictures == loaded.pictures);
    VZ_FUZZ_CHECK(again.randomP == randomP);
    return 0;
}
