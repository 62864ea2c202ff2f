#include "settings/PictureSettings.h"

#include "platform/SettingsStore.h"
#include "runtime/Program.h"
#include "settings/ListFile.h"

namespace vz {

PictureSettings loadPictureSettings(Program &program)
{
    PictureSettings s;
    s.randomP = checkStateFromStored(program.store().get(kAppTitle, kPresets, kRandomP, QStringLiteral("0")));
    const auto bytes = readWholeFile(program.programFile(kPictureListFile));
    if (!bytes)
        return s;
    LineReader reader(*bytes);
    s.interval = reader.next();
    s.pictures = readEntries(reader, readCount(reader).value_or(0));
    return s;
}

QString savePictureSettings(Program &program, int randomP, const QString &interval,
                            const QStringList &pictures)
{
    const QString storeError =
        program.store().save(kAppTitle, kPresets, kRandomP, QString::number(randomP));
    if (!storeError.isEmpty())
        return saveFailure(kAppTitle + u'/' + kPresets + u'/' + kRandomP, storeError);
    LineWriter writer;
    writer.add(interval.isEmpty() ? formatNumber(10) : interval);
    writeEntries(writer, pictures);
    const QString path = program.programFile(kPictureListFile);
    const QString fileError = replaceFile(path, writer.bytes());
    if (!fileError.isEmpty())
        return saveFailure(path, fileError);
    return {};
}

} // namespace vz
