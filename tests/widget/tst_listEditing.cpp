// The browsing controls and the list editing that both dialogs share.

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "controls/DriveBox.h"
#include "controls/FileBox.h"
#include "controls/FolderBox.h"
#include "controls/ListEditing.h"

using namespace vz;

namespace {

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QStringList texts(const QListWidget &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

QList<int> selectedRows(const QListWidget &list)
{
    QList<int> rows;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->isSelected())
            rows << i;
    return rows;
}

// Makes row current (the focus mark) without touching the selection; -1 for none.
void setCurrent(QListWidget &list, int row)
{
    list.selectionModel()->setCurrentIndex(row < 0 ? QModelIndex() : list.model()->index(row, 0),
                                           QItemSelectionModel::NoUpdate);
}

void select(QListWidget &list, const QList<int> &rows)
{
    list.clearSelection();
    for (int r : rows)
        list.item(r)->setSelected(true);
}

void doubleClick(QListWidget &list, int row)
{
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class tst_listEditing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fullPathHasOneSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root") << "/" << "/a.jpg";
        QTest::newRow("folder") << "/home/me/Pictures" << "/home/me/Pictures/a.jpg";
    }
    void fullPathHasOneSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(fullPath(folder, QStringLiteral("a.jpg")), expected);
    }

    void fileBoxListsMatchingFiles()
    {
        QTemporaryDir dir;
        for (const char *name : {"b.JPG", "a.bmp", "c.png", ".hidden.jpg", "d.Gif", "e.jpeg.txt"})
            touch(dir.filePath(QString::fromLatin1(name)));
        QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
        FileBox files;
        files.setPattern(QStringLiteral("*.bmp;*.jpg;*.jpeg;*.wmf;*.dib;*.ico;*.gif"));
        files.setPath(dir.path());
        QCOMPARE(texts(files), (QStringList{"a.bmp", "b.JPG", "d.Gif"}));
        QCOMPARE(files.selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(files.fileName(), QString());
        setCurrent(files, 1);
        QCOMPARE(files.fileName(), QStringLiteral("b.JPG"));

        files.setPath(dir.filePath(QStringLiteral("missing")));
        QCOMPARE(files.count(), 0);
    }

    void addButton_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("added");
        QTest::newRow("no file: nothing") << QStringList() << QList<int>() << QStringList();
        QTest::newRow("one file, not selected") << QStringList{"a.jpg"} << QList<int>() << QStringList{"a.jpg"};
        QTest::newRow("two files, none selected") << QStringList{"a.jpg", "b.jpg"} << QList<int>() << QStringList();
        QTest::newRow("file order, not click order")
            << QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"} << QList<int>{3, 0, 2}
            << QStringList{"a.jpg", "c.jpg", "d.jpg"};
    }
    void addButton()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, added);
        QTemporaryDir dir;
        for (const QString &f : files)
            touch(dir.filePath(f));
        FileBox box;
        box.setPattern(QStringLiteral("*.jpg"));
        box.setPath(dir.path());
        for (int r : selected)
            box.item(r)->setSelected(true);
        QListWidget list;
        list.addItem(QStringLiteral("/kept.jpg"));

        appendChosenFiles(box, list);

        QStringList expected{"/kept.jpg"};
        for (const QString &f : added)
            expected << dir.filePath(f);
        QCOMPARE(texts(list), expected);
        QCOMPARE(selectedRows(box), QList<int>());
    }

    void doubleClickAddsTheCurrentFileAgainAndAgain()
    {
        QTemporaryDir dir;
        touch(dir.filePath(QStringLiteral("a.jpg")));
        touch(dir.filePath(QStringLiteral("b.jpg")));
        FileBox box;
        box.setPattern(QStringLiteral("*.jpg"));
        box.setPath(dir.path());
        box.item(0)->setSelected(true);
        setCurrent(box, 1);
        QListWidget list;
        appendCurrentFile(box, list);
        appendCurrentFile(box, list);
        QCOMPARE(texts(list), QStringList(2, dir.filePath(QStringLiteral("b.jpg"))));
        QCOMPARE(selectedRows(box), QList<int>{0});
    }

    void removeButton_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none selected") << 3 << QList<int>() << 1 << QStringList{"0", "1", "2"};
        // One selected entry: the current one goes, wherever the mark is.
        QTest::newRow("one selected, current elsewhere") << 3 << QList<int>{0} << 2 << QStringList{"0", "1"};
        QTest::newRow("one selected, no current") << 3 << QList<int>{0} << -1 << QStringList{"0", "1", "2"};
        QTest::newRow("several selected") << 5 << QList<int>{0, 2, 4} << 1 << QStringList{"1", "3"};
        QTest::newRow("single entry, not selected") << 1 << QList<int>() << 0 << QStringList{"0"};
        QTest::newRow("all selected") << 3 << QList<int>{0, 1, 2} << 1 << QStringList();
    }
    void removeButton()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QStringList, left);
        QListWidget list;
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (int i = 0; i < count; ++i)
            list.addItem(QString::number(i));
        select(list, selected);
        setCurrent(list, current);

        removeSelectedEntries(list);

        QCOMPARE(texts(list), left);
        if (left.size() < count && selected.contains(current))
            QCOMPARE(list.currentRow(), -1);
    }

    void removeCurrent()
    {
        QListWidget list;
        list.addItems({"a", "b", "c"});
        setCurrent(list, 1);
        removeCurrentEntry(list);
        QCOMPARE(texts(list), (QStringList{"a", "c"}));
        QCOMPARE(list.currentRow(), -1);
        removeCurrentEntry(list);
        QCOMPARE(texts(list), (QStringList{"a", "c"}));
    }

    void move_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("currentAfter");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::newRow("up: second becomes first") << true << 1 << QList<int>{1}
            << QStringList{"b", "a", "c", "d"} << 0 << QList<int>{0};
        QTest::newRow("up: others keep their marks") << true << 2 << QList<int>{0, 3}
            << QStringList{"a", "c", "b", "d"} << 1 << QList<int>{0, 1, 3};
        QTest::newRow("up: first stays") << true << 0 << QList<int>{0}
            << QStringList{"a", "b", "c", "d"} << 0 << QList<int>{0};
        QTest::newRow("up: no current") << true << -1 << QList<int>{2}
            << QStringList{"a", "b", "c", "d"} << -1 << QList<int>{2};
        QTest::newRow("down: second-to-last becomes last") << false << 2 << QList<int>{2}
            << QStringList{"a", "b", "d", "c"} << 3 << QList<int>{3};
        QTest::newRow("down: first") << false << 0 << QList<int>{}
            << QStringList{"b", "a", "c", "d"} << 1 << QList<int>{1};
        QTest::newRow("down: last stays") << false << 3 << QList<int>{3}
            << QStringList{"a", "b", "c", "d"} << 3 << QList<int>{3};
        QTest::newRow("down: no current") << false << -1 << QList<int>{}
            << QStringList{"a", "b", "c", "d"} << -1 << QList<int>{};
    }
    void move()
    {
        QFETCH(bool, up);
        QFETCH(int, current);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, after);
        QFETCH(int, currentAfter);
        QFETCH(QList<int>, selectedAfter);
        QListWidget list;
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
        list.addItems({"a", "b", "c", "d"});
        select(list, selected);
        setCurrent(list, current);

        if (up)
            cmdMoveUp_Click(list);
        else
            cmdMoveDown_Click(list);

        QCOMPARE(texts(list), after);
        QCOMPARE(list.currentRow(), currentAfter);
        QCOMPARE(selectedRows(list), selectedAfter);
    }

    void folderBoxShowsAncestorsAndSubfolders()
    {
        QTemporaryDir dir;
        const QDir base(dir.path());
        base.mkpath(QStringLiteral("top/Beta"));
        base.mkpath(QStringLiteral("top/alpha"));
        base.mkpath(QStringLiteral("top/.hidden"));
        touch(base.filePath(QStringLiteral("top/file.jpg")));
        FolderBox folders;
        QSignalSpy changed(&folders, &FolderBox::changed);
        const QString top = base.filePath(QStringLiteral("top"));
        QVERIFY(folders.setPath(top));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(folders.path(), top);

        const QStringList shown = texts(folders);
        QCOMPARE(shown.first(), QStringLiteral("/"));
        const QStringList parts = top.split(u'/', Qt::SkipEmptyParts);
        QCOMPARE(shown.mid(1, parts.size()), parts);
        QCOMPARE(shown.mid(1 + parts.size()), (QStringList{"alpha", "Beta"}));
        QCOMPARE(folders.currentRow(), int(parts.size()));

        // Double-click on a subfolder opens it; on an ancestor goes up.
        const int alphaRow = int(shown.indexOf(QStringLiteral("alpha")));
        folders.resize(300, 600);
        folders.show();
        QVERIFY(QTest::qWaitForWindowExposed(&folders));
        doubleClick(folders, alphaRow);
        QCOMPARE(folders.path(), base.filePath(QStringLiteral("top/alpha")));
        QCOMPARE(changed.size(), 2);
        doubleClick(folders, 0);
        QCOMPARE(folders.path(), QStringLiteral("/"));

        QVERIFY(!folders.setPath(base.filePath(QStringLiteral("missing"))));
        QVERIFY(!folders.setPath(base.filePath(QStringLiteral("top/file.jpg"))));
        QCOMPARE(folders.path(), QStringLiteral("/"));
        QCOMPARE(changed.size(), 3);
    }

    void driveBoxFallsBackToTheRoot()
    {
        DriveBox drives;
        QVERIFY(drives.findData(QStringLiteral("/")) >= 0);
        QCOMPARE(drives.findData(QStringLiteral("/")), 0);
        QSignalSpy changed(&drives, &DriveBox::changed);
        drives.addDrive(QStringLiteral("/nonexistent-drive"), QStringLiteral("USB"));
        QCOMPARE(drives.itemText(drives.count() - 1), QStringLiteral("/nonexistent-drive [USB]"));
        drives.setDrive(QStringLiteral("/nonexistent-drive/sub"));
        QCOMPARE(drives.drive(), QStringLiteral("/nonexistent-drive"));
        drives.setDrive(QStringLiteral("/nonexistent-drivex"));
        QCOMPARE(drives.drive(), QStringLiteral("/"));
        QCOMPARE(changed.size(), 2);
    }
};

QTEST_MAIN(tst_listEditing)
#include "tst_listEditing.moc"
