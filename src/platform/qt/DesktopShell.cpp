#include "platform/qt/DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace vz {

void DesktopShell::open(const QString &file)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(file));
}

bool DesktopShell::start(const QString &commandLine, Window)
{
    const QString line = commandLine.trimmed();
    if (line.isEmpty())
        return false;
    // An unquoted path with blanks that names a program file as a whole is that
    // program, as the command lines stored for system tools are written.
    if (QFileInfo(line).isFile())
        return QProcess::startDetached(line, {});
    QStringList words = QProcess::splitCommand(line);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    if (program.compare(QLatin1String("start"), Qt::CaseInsensitive) == 0)
        return !words.isEmpty() && QDesktopServices::openUrl(QUrl::fromUserInput(words.join(u' ')));
    return QProcess::startDetached(program, words);
}

} // namespace vz
