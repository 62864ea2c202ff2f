#include "controls/FileBox.h"

#include <QDir>

#include "controls/FolderBox.h"

namespace vz {

FileBox::FileBox(QWidget *parent) : ListBox(parent)
{
    m_path = QDir::currentPath();
    refresh();
}

bool FileBox::setPath(const QString &folder)
{
    m_path = folder;
    return refresh();
}

void FileBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

QString FileBox::fileName() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->text() : QString();
}

bool FileBox::refresh()
{
    QStringList filters;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            filters.append(part.trimmed());
    const QDir dir(m_path);
    clear();
    if (!FolderBox::canList(m_path))
        return false;
    addItems(dir.entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase));
    return true;
}

} // namespace vz
