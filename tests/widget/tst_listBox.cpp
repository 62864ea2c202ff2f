// The list box's fixed horizontal scroll range, and SetListExtent measuring
// the longest entry in the form's font.

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTest>

#include "controls/ListBox.h"
#include "settings/HorizIt.h"

using namespace vz;

namespace {

struct Form {
    Form()
    {
        widget.resize(300, 200);
        list = new ListBox(&widget);
        list->setGeometry(10, 10, 177, 134);
    }
    QWidget widget;
    ListBox *list;
};

// The extent the list can scroll across: what is hidden plus what is shown.
int scrollableWidth(const ListBox &list)
{
    const QScrollBar *bar = list.horizontalScrollBar();
    return bar->maximum() + bar->pageStep();
}

} // namespace

class tst_listBox : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rangeIsTheGivenExtentWhateverTheEntries()
    {
        Form f;
        f.list->addItems({QString(200, u'W'), QStringLiteral("short")});
        f.widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.widget));
        QScrollBar *bar = f.list->horizontalScrollBar();
        // Never given an extent: entries far wider than the box do not scroll.
        QTRY_VERIFY(!bar->isVisible());
        QCOMPARE(bar->maximum(), 0);

        f.list->setHorizontalExtent(600);
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(scrollableWidth(*f.list), 600);
        QCOMPARE(bar->pageStep(), f.list->viewport()->width());
        // The scrolled entries move by pixels.
        const QRect before = f.list->visualItemRect(f.list->item(0));
        bar->setValue(bar->maximum());
        QCOMPARE(before.left() - f.list->visualItemRect(f.list->item(0)).left(), 600 - f.list->viewport()->width());
        // Changes of the entries do not move the range.
        f.list->addItem(QString(500, u'M'));
        delete f.list->takeItem(0);
        f.list->doItemsLayout();
        QCOMPARE(scrollableWidth(*f.list), 600);

        // An extent narrower than the box: nothing to scroll, no bar.
        f.list->setHorizontalExtent(20);
        QTRY_VERIFY(!bar->isVisible());
        QCOMPARE(bar->maximum(), 0);
    }

    void extentOfLongestEntry_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("measured");
        QTest::newRow("empty list: one blank") << QStringList() << QString();
        // Counted, not measured: the narrow entry comes first and wins the tie.
        QTest::newRow("tie goes to the earlier")
            << QStringList{"iiiiiiiiii", "WWWWWWWWWW"} << "iiiiiiiiii";
        QTest::newRow("more characters beat wider glyphs")
            << QStringList{"WWWWWWWWWW", "iiiiiiiiiii"} << "iiiiiiiiiii";
    }
    void extentOfLongestEntry()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, measured);
        Form f;
        // A font unlike the application's, so that measuring in the wrong one shows.
        QFont big = f.widget.font();
        big.setPointSize(big.pointSize() * 2 + 3);
        f.widget.setFont(big);
        f.list->addItems(entries);

        SetListExtent(*f.list);

        const qreal width = QFontMetricsF(big).horizontalAdvance(measured + u' ');
        // Whole pixels, never rounded up past the text.
        QVERIFY2(f.list->horizontalExtent() <= width + 1.0 / 30
                     && f.list->horizontalExtent() > width - 1,
                 qPrintable(QStringLiteral("extent %1, text %2").arg(f.list->horizontalExtent()).arg(width)));
    }
};

QTEST_MAIN(tst_listBox)
#include "tst_listBox.moc"
