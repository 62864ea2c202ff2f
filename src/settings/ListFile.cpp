#include "settings/ListFile.h"

#include <QDir>
#include <QFileInfo>

#include "runtime/Program.h"

namespace vz {

std::optional<Integer> readCount(LineReader &reader)
{
    const auto line = reader.next();
    if (!line)
        return std::nullopt;
    return toInteger(*line);
}

QStringList readEntries(LineReader &reader, Integer count)
{
    QStringList entries;
    for (Integer i = 0; i < count; ++i) {
        auto line = reader.next();
        if (!line)
            break;
        entries.append(std::move(*line));
    }
    return entries;
}

void writeEntries(LineWriter &writer, const QStringList &entries)
{
    writer.add(formatNumber(entries.size()));
    for (const QString &entry : entries)
        writer.add(entry);
}

std::optional<int> checkStateFromStored(const QString &stored)
{
    const auto value = toInteger(stored);
    if (!value || *value < 0 || *value > 2)
        return std::nullopt;
    return *value;
}

std::optional<int> loadStoredState(Program &program, const QString &key)
{
    return checkStateFromStored(program.store().get(kAppTitle, kPresets, key, QStringLiteral("0")));
}

ListPlace listPlace(Program &program, const QString &listFile)
{
    const QString beside = program.programFile(listFile);
    if (QFileInfo(program.folder()).isWritable())
        return {beside, beside, true};
    const QString own = QDir(program.store().folder(kAppTitle)).filePath(QFileInfo(beside).fileName());
    return {QFileInfo::exists(own) ? own : beside, own, false};
}

namespace {
QString saveFailure(const QString &what, const QString &reason)
{
    return QStringLiteral("The settings could not be saved to\r\n%1\r\n(%2).")
        .arg(QDir::toNativeSeparators(what), reason);
}
} // namespace

Result<> saveChoices(Program &program, const QString &key, int state, const QString &listFile,
                                   const LineWriter &lines)
{
    return saveChoices(program, {{key, state}}, listFile, lines);
}

Result<> saveChoices(Program &program, const QList<StoredState> &states, const QString &listFile,
                                   const LineWriter &lines)
{
    for (const auto &[key, state] : states)
        if (const auto stored = program.store().save(kAppTitle, kPresets, key, QString::number(state)); !stored)
            return Failure{saveFailure(kAppTitle + u'/' + kPresets + u'/' + key, stored.error())};
    const ListPlace place = listPlace(program, listFile);
    const QString folder = QFileInfo(place.save).absolutePath();
    if (!place.besideProgram)
        QDir().mkpath(folder); // a failure shows as the failed write below
    const auto written = replaceFile(place.save, lines.bytes());
    if (written)
        return {};
    const QString where = place.besideProgram
        ? QStringLiteral("Veroridovuz keeps its lists beside its program file, so it needs to be able to write in")
        : QStringLiteral("Veroridovuz cannot write beside its program file, so it keeps your lists in");
    return Failure{saveFailure(place.save, written.error()) + QStringLiteral("\r\n\r\n") + where + QStringLiteral("\r\n")
                   + QDir::toNativeSeparators(folder)};
}

} // namespace vz
