#include "controls/ListBox.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace vz {

namespace {

// Every row is one line of text in one font, so every row is as high as the
// one row the view measures; and as wide as the extent, so that whatever can
// be scrolled into view lies inside its row: drawn, highlighted and clickable.
// Measuring one row instead of each keeps a long list quick to lay out.
class RowDelegate : public QStyledItemDelegate
{
public:
    explicit RowDelegate(ListBox &box) : QStyledItemDelegate(&box), m_box(box) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {m_box.horizontalExtent(), QStyledItemDelegate::sizeHint(option, index).height()};
    }

private:
    const ListBox &m_box;
};

} // namespace

ListBox::ListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setItemDelegate(new RowDelegate(*this));
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT click();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT dblClick();
    });
}

void ListBox::setHorizontalExtent(int pixels)
{
    m_extent = qMax(0, pixels);
    // The rows take the new width.
    scheduleDelayedItemsLayout();
    applyExtent();
}

QStringList ListBox::entries() const
{
    QStringList list;
    list.reserve(count());
    for (int i = 0; i < count(); ++i)
        list.append(item(i)->text());
    return list;
}

void ListBox::updateGeometries()
{
    // The view recomputes its own range from the entries here; the given
    // extent replaces it every time.
    QListWidget::updateGeometries();
    applyExtent();
}

void ListBox::applyExtent()
{
    // Whether the bar shows is decided here too: left to itself the view
    // shows it whenever an entry is wider than the box.
    const int page = viewport()->width();
    const Qt::ScrollBarPolicy policy = m_extent > page ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
    QScrollBar *bar = horizontalScrollBar();
    bar->setPageStep(viewport()->width());
    bar->setRange(0, qMax(0, m_extent - viewport()->width()));
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT click();
}

} // namespace vz
