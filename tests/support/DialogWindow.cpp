#include "support/DialogWindow.h"

#include <QImage>
#include <QTest>

namespace vz::test {

bool DialogWindow::find(const QString &title, int timeoutMs)
{
    QStringList ids;
    if (!waitFor([&] { return !(ids = m_x.windowsNamed(title)).isEmpty(); }, timeoutMs))
        return false;
    const auto g = windowGeometry(m_x, ids.first());
    if (!g)
        return false;
    m_rect = *g;
    m_id = ids.first();
    m_x.mouseMove(m_rect.center().x(), m_rect.center().y());
    return true;
}

void DialogWindow::moveTo(QPoint p) const { m_x.mouseMove(m_rect.left() + p.x(), m_rect.top() + p.y()); }

void DialogWindow::click(QPoint p) const
{
    moveTo(p);
    m_x.click();
}

void DialogWindow::ctrlClick(QPoint p) const
{
    moveTo(p);
    m_x.xdo({"keydown", "ctrl", "click", "1", "keyup", "ctrl"});
}

void DialogWindow::shiftClick(QPoint p) const
{
    moveTo(p);
    m_x.xdo({"keydown", "shift", "click", "1", "keyup", "shift"});
}

void DialogWindow::doubleClick(QPoint p) const
{
    moveTo(p);
    m_x.doubleClick();
}

bool DialogWindow::measureRows(QRect box)
{
    click(QPoint(box.left() + 20, box.top() + 6));
    return waitFor([&] {
        const QImage shot = m_x.screenshot();
        // Near the right edge, clear of the names' text.
        const int x = m_rect.left() + box.right() - 6;
        int top = -1;
        for (int y = m_rect.top() + box.top() + 1; y < m_rect.top() + box.bottom(); ++y) {
            const bool marked = !near(shot.pixelColor(x, y), Qt::white, 8);
            if (marked && top < 0)
                top = y;
            if (!marked && top >= 0) {
                if (y - top < 8)
                    return false;
                m_rowTop = top - m_rect.top() - box.top();
                m_rowHeight = y - top;
                return true;
            }
        }
        return false;
    });
}

QPoint DialogWindow::row(QRect box, int i) const
{
    return QPoint(box.left() + 30, box.top() + m_rowTop + i * m_rowHeight + m_rowHeight / 2);
}

bool answerMessage(XServer &x, const QString &title, const QString &shotName)
{
    QStringList ids;
    if (!waitFor([&] { return !(ids = x.windowsNamed(title)).isEmpty(); }))
        return false;
    if (!shotName.isEmpty())
        x.keepShot(shotName);
    const auto g = windowGeometry(x, ids.first());
    if (!g)
        return false;
    x.mouseMove(g->center().x(), g->center().y());
    x.key(QStringLiteral("Return"));
    return waitFor([&] { return x.windowsNamed(title).isEmpty(); });
}

void addCancelAndCloseBoxRows()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

} // namespace vz::test
