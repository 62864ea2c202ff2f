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
#include "support/Widgets.h"

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

// A list of the given entries and selected rows whose focus mark (-1: none)
// is set without touching the selection.
void prepare(QListWidget &list, const QStringList &entries, const QList<int> &selected, int current)
{
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.addItems(entries);
    for (int r : selected)
        list.item(r)->setSelected(true);
    list.selectionModel()->setCurrentIndex(current < 0 ? QModelIndex() : list.model()->index(current, 0),
                                           QItemSelectionModel::NoUpdate);
}

} // namespace

class tst_listEditing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileBoxListsMatchingFiles()
    {
        QCOMPARE(fullPath(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));
        QTemporaryDir dir;
        for (const char *name : {"b.JPG", "a.bmp", "c.png", ".hidden.jpg", "d.Gif", "e.jpeg.txt"})
            touch(dir.filePath(QString::fromLatin1(name)));
        QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
        FileBox files;
        files.setPattern(QStringLiteral("*.bmp;*.jpg;*.jpeg;*.wmf;*.dib;*.ico;*.gif"));
        QVERIFY(files.setPath(dir.path()));
        QCOMPARE(texts(files), (QStringList{"a.bmp", "b.JPG", "d.Gif"}));
        QCOMPARE(files.fileName(), QString());
        prepare(files, {}, {}, 1);
        QCOMPARE(files.fileName(), QStringLiteral("b.JPG"));
        QVERIFY(!files.setPath(dir.filePath(QStringLiteral("missing"))));
        QCOMPARE(files.count(), 0);
    }

    // The add button, and a double-click that adds the file with the focus mark.
    void adding_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current"); // -1: the add button
        QTest::addColumn<int>("room");    // entries the list can still take
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<bool>("refused");
        auto row = [](const char *name, const QStringList &files, const QList<int> &selected, int current, int room,
                      const QStringList &added, bool refused = false) {
            QTest::newRow(name) << files << selected << current << room << added << refused;
        };
        const QStringList five{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
        row("no file: nothing", {}, {}, -1, 9, {});
        row("one file, not selected", {"a.jpg"}, {}, -1, 9, {"a.jpg"});
        row("two files, none selected", {"a.jpg", "b.jpg"}, {}, -1, 9, {});
        row("file order, not click order", five, {3, 0, 2}, -1, 3, {"a.jpg", "c.jpg", "d.jpg"});
        row("more than the list can take", five, {3, 0, 2}, -1, 2, {}, true);
        row("double-click: the current file", five, {0}, 1, 1, {"b.jpg"});
        row("double-click on a full list", five, {0}, 1, 0, {}, true);
    }
    void adding()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(int, room);
        QFETCH(QStringList, added);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        for (const QString &f : files)
            touch(dir.filePath(f));
        FileBox box;
        box.setPattern(QStringLiteral("*.jpg"));
        box.setPath(dir.path());
        prepare(box, {}, selected, current);
        QListWidget list;
        list.addItem(QStringLiteral("/kept.jpg"));

        const bool done = (current < 0 ? appendChosenFiles(box, list, room + 1) : appendCurrentFile(box, list, room + 1)).fitted;

        QCOMPARE(done, !refused);
        QStringList expected{"/kept.jpg"};
        for (const QString &f : added)
            expected << dir.filePath(f);
        QCOMPARE(texts(list), expected);
        // The add button clears the file selection; a refusal or a double-click keeps it.
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selectedRows(box), done && current < 0 ? QList<int>() : selected);
    }

    // The remove button (or a double-click on an entry, removing the current one).
    void removing_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none selected") << 3 << QList<int>() << 1 << false << QStringList{"0", "1", "2"};
        // One selected entry: the current one goes, wherever the mark is.
        QTest::newRow("one selected, current elsewhere") << 3 << QList<int>{0} << 2 << false << QStringList{"0", "1"};
        QTest::newRow("one selected, no current") << 3 << QList<int>{0} << -1 << false << QStringList{"0", "1", "2"};
        QTest::newRow("several selected") << 5 << QList<int>{0, 2, 4} << 1 << false << QStringList{"1", "3"};
        QTest::newRow("single entry, not selected") << 1 << QList<int>() << 0 << false << QStringList{"0"};
        QTest::newRow("all selected") << 3 << QList<int>{0, 1, 2} << 1 << false << QStringList();
        QTest::newRow("double-click") << 3 << QList<int>{0, 2} << 1 << true << QStringList{"0", "2"};
        QTest::newRow("double-click, no current") << 3 << QList<int>{0} << -1 << true << QStringList{"0", "1", "2"};
    }
    void removing()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(bool, doubleClick);
        QFETCH(QStringList, left);
        QListWidget list;
        QStringList entries;
        for (int i = 0; i < count; ++i)
            entries << QString::number(i);
        prepare(list, entries, selected, current);

        doubleClick ? removeCurrentEntry(list) : removeSelectedEntries(list);

        QCOMPARE(texts(list), left);
        if (left.size() < count && (doubleClick || selected.contains(current)))
            QCOMPARE(list.currentRow(), -1);
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
        prepare(list, {"a", "b", "c", "d"}, selected, current);

        up ? cmdMoveUp_Click(list) : cmdMoveDown_Click(list);

        QCOMPARE(texts(list), after);
        QCOMPARE(list.currentRow(), currentAfter);
        QCOMPARE(selectedRows(list), selectedAfter);
    }

    void folderBoxShowsAncestorsAndSubfolders()
    {
        QTemporaryDir dir;
        const QDir base(dir.path());
        for (const char *sub : {"top/Beta", "top/alpha", "top/.hidden"})
            base.mkpath(QString::fromLatin1(sub));
        touch(base.filePath(QStringLiteral("top/file.jpg")));
        FolderBox folders;
        QSignalSpy changed(&folders, &FolderBox::changed);
        const QString top = base.filePath(QStringLiteral("top"));
        QVERIFY(folders.setPath(top));
        QCOMPARE(folders.path(), top);
        const QStringList shown = texts(folders);
        const QStringList parts = top.split(u'/', Qt::SkipEmptyParts);
        QCOMPARE(shown, (QStringList{"/"} + parts + QStringList{"alpha", "Beta"}));
        QCOMPARE(folders.currentRow(), int(parts.size()));

        // Double-click on a subfolder opens it; on an ancestor goes up.
        folders.resize(300, 600);
        folders.show();
        QVERIFY(QTest::qWaitForWindowExposed(&folders));
        vz::test::doubleClickRow(folders, int(shown.indexOf(QStringLiteral("alpha"))));
        QCOMPARE(folders.path(), base.filePath(QStringLiteral("top/alpha")));
        vz::test::doubleClickRow(folders, 0);
        QCOMPARE(folders.path(), QStringLiteral("/"));
        QVERIFY(!folders.setPath(base.filePath(QStringLiteral("missing"))));
        QVERIFY(!folders.setPath(base.filePath(QStringLiteral("top/file.jpg"))));
        QCOMPARE(folders.path(), QStringLiteral("/"));
        QCOMPARE(changed.size(), 3);
    }

    void driveBoxFallsBackToTheRoot()
    {
        DriveBox drives;
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
