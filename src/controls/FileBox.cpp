#include "controls/FileBox.h"

#include <QDir>
#include <QFile>

#include "controls/FolderBox.h"
#include "platform/FileNames.h"

namespace vz {

namespace {
constexpr int kNameOnDiskRole = Qt::UserRole;
} // namespace

FileBox::FileBox(QWidget *parent) : ListBox(parent), m_path(QDir::currentPath()) {}

bool FileBox::setPath(const QString &folder)
{
    m_path = folder;
    return refresh();
}

void FileBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    if (m_listed)
        refresh();
}

void FileBox::showEvent(QShowEvent *event)
{
    if (!m_listed)
        refresh();
    ListBox::showEvent(event);
}

QString FileBox::fileName() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->text() : QString();
}

QByteArray FileBox::nameOnDisk(const QListWidgetItem *item) const
{
    const QVariant raw = item->data(kNameOnDiskRole);
    return raw.isValid() ? raw.toByteArray() : QFile::encodeName(item->text());
}

bool FileBox::refresh()
{
    m_listed = true;
    QStringList filters;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            filters.append(part.trimmed());
    const QDir dir(m_path);
    clear();
    if (!FolderBox::canList(m_path))
        return false;
    addItems(dir.entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase));
    for (const QByteArray &name : undecodableFileNames(m_path))
        insertUndecodable(name, filters);
    return true;
}

// Placed where the listing's own order (names compared in lower case) puts it.
void FileBox::insertUndecodable(const QByteArray &name, const QStringList &filters)
{
    const QString shown = QFile::decodeName(name);
    if (!filters.isEmpty() && !QDir::match(filters, shown))
        return;
    const QString key = shown.toLower();
    int row = 0;
    while (row < count() && item(row)->text().toLower().compare(key) <= 0)
        ++row;
    auto *entry = new QListWidgetItem(shown);
    entry->setData(kNameOnDiskRole, name);
    insertItem(row, entry);
}

} // namespace vz
