#include "settings/PictureSettings.h"

#include "runtime/Program.h"
#include "settings/ListFile.h"

namespace vz {

PictureSettings loadPictureSettings(Program &program)
{
    PictureSettings s;
    s.randomP = loadStoredState(program, kRandomP);
    s.fitP = loadStoredState(program, kFitP);
    const auto bytes = readWholeFile(listPlace(program, kPictureListFile).read);
    if (!bytes)
        return s;
    LineReader reader(*bytes);
    s.interval = reader.next();
    s.pictures = readEntries(reader, readCount(reader).value_or(0));
    return s;
}

Result<> savePictureSettings(Program &program, int randomP, const QString &interval,
                             const QStringList &pictures, int fitP, const QList<StoredState> &options)
{
    LineWriter lines;
    lines.add(interval.isEmpty() ? formatNumber(10) : interval);
    writeEntries(lines, pictures);
    return saveChoices(program, QList<StoredState>{{kRandomP, randomP}, {kFitP, fitP}} + options, kPictureListFile,
                       lines);
}

} // namespace vz
