#include "controls/FolderBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace vz {

namespace {

constexpr int kFolderRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndent = 7;

// Shifts each entry right by its depth in the folder tree.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + kIndent * index.data(kDepthRole).toInt());
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index)
            + QSize(kIndent * index.data(kDepthRole).toInt(), 0);
    }
};

} // namespace

bool FolderBox::canList(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

FolderBox::FolderBox(QWidget *parent) : QListWidget(parent), m_path(QDir::currentPath())
{
    setItemDelegate(new IndentDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderBox::open);
}

bool FolderBox::setPath(const QString &folder)
{
    if (!canList(folder))
        return false;
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const bool moved = clean != m_path;
    m_path = clean;
    fill();
    if (moved)
        Q_EMIT changed();
    return true;
}

void FolderBox::showEvent(QShowEvent *event)
{
    if (!m_listed)
        fill();
    QListWidget::showEvent(event);
}

void FolderBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        open(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderBox::open(const QListWidgetItem *item)
{
    if (!item)
        return;
    const QString folder = item->data(kFolderRole).toString();
    if (setPath(folder))
        return;
    QApplication::beep();
    Q_EMIT refused(folder);
}

void FolderBox::fill()
{
    m_listed = true;
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    QStringList chain;
    for (QDir dir(m_path);; ) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &folder : chain) {
        const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
        auto *item = new QListWidgetItem(openIcon, name, this);
        item->setData(kFolderRole, folder);
        item->setData(kDepthRole, depth++);
    }
    setCurrentRow(count() - 1);

    const QDir here(m_path);
    for (const QString &sub : here.entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                             QDir::Name | QDir::IgnoreCase)) {
        auto *item = new QListWidgetItem(closedIcon, sub, this);
        item->setData(kFolderRole, here.filePath(sub));
        item->setData(kDepthRole, depth);
    }
}

} // namespace vz
