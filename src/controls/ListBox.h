#pragma once
// A list box as the dialogs use it: extended selection (click, Shift-click,
// Ctrl-click), entries in insertion order, and a horizontal scroll range that
// is exactly the extent it was given. The range does not follow the entries:
// an entry wider than the extent cannot be scrolled fully into view, and a list
// that was never given an extent does not scroll sideways at all. Every row
// reaches across that range, so a click anywhere along a row takes that row.

#include <QListWidget>

namespace vz {

class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // The width in pixels across which the entries can be scrolled.
    int horizontalExtent() const { return m_extent; }
    void setHorizontalExtent(int pixels);

    // The entries from first to last.
    QStringList entries() const;

Q_SIGNALS:
    // An entry was clicked, or the keyboard moved the focus mark to another entry.
    void click();
    // An entry was double-clicked.
    void dblClick();

protected:
    void updateGeometries() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyExtent();

    int m_extent = 0;
};

} // namespace vz
