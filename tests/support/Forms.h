#pragma once
// In-process tests of the forms: controls by designed name, clicks on list
// rows, and the program's real message boxes, recorded and answered with OK.

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace vz::test {

// The form's control of the given designed name; a missing one stops the run.
template <class W = QWidget> W *control(const QWidget &form, const char *name)
{
    W *w = form.findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// A click on a row; with double, the double-click that follows it as from a mouse.
inline void clickRow(QListWidget &list, int row, Qt::KeyboardModifiers mods = {}, bool twice = false)
{
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, mods, at);
    if (twice)
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, mods, at);
}

class MessageBoxCatcher
{
public:
    MessageBoxCatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(w);
                if (!box || !box->isVisible() || box->property("vzCaught").toBool())
                    continue;
                box->setProperty("vzCaught", true);
                m_texts << box->text();
                m_icons << box->icon();
                m_titles << box->windowTitle();
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start(5);
    }
    const QStringList &texts() const { return m_texts; }
    const QList<QMessageBox::Icon> &icons() const { return m_icons; }
    const QStringList &titles() const { return m_titles; }

private:
    QTimer m_timer;
    QStringList m_texts;
    QList<QMessageBox::Icon> m_icons;
    QStringList m_titles;
};

} // namespace vz::test
