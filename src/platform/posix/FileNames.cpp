#include "platform/FileNames.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace vz {

bool nameDecodes(const QByteArray &name)
{
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

QList<QByteArray> undecodableFileNames(const QString &folder)
{
    QList<QByteArray> names;
    QByteArray base = QFile::encodeName(folder);
    if (!base.endsWith('/'))
        base += '/';
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(base.constData()), ::closedir);
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.') || nameDecodes(name))
            continue;
        struct stat info;
        if (::stat((base + name).constData(), &info) == 0 && S_ISREG(info.st_mode))
            names.append(name);
    }
    return names;
}

} // namespace vz
