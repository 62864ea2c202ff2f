#pragma once
// Reaching and clicking a form's controls in in-process tests.

#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace vz::test {

// The form's control of the given designed name; a missing one stops the test run.
template <class W = QWidget> W *control(const QWidget &form, const char *name)
{
    W *w = form.findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

inline QPushButton *button(const QWidget &form, const char *name) { return control<QPushButton>(form, name); }

inline void clickRow(QListWidget &list, int row, Qt::KeyboardModifiers mods = {})
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, mods, list.visualItemRect(list.item(row)).center());
}

// A double-click, with the click that comes before it as it does from a mouse.
inline void doubleClickRow(QListWidget &list, int row)
{
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

} // namespace vz::test
