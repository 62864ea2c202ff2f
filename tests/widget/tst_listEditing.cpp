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

    // Remove (the selected entries; a single selected one stands for the
    // current one), a double-click on an entry (the current one), Up and Down
    // (the current entry, which stays current and selected). Entries are
    // letters; -1 is no current entry.
    void editing_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("currentAfter");
        QTest::addColumn<QList<int>>("selectedAfter");
        auto row = [](const char *name, const char *op, const char *entries, const QList<int> &selected, int current,
                      const char *after, int currentAfter, const QList<int> &selectedAfter) {
            QTest::newRow(name) << QString::fromLatin1(op) << QString::fromLatin1(entries) << selected << current
                                << QString::fromLatin1(after) << currentAfter << selectedAfter;
        };
        row("remove: none selected", "remove", "abc", {}, 1, "abc", 1, {});
        row("remove: one selected, current elsewhere", "remove", "abc", {0}, 2, "ab", -1, {0});
        row("remove: one selected, no current", "remove", "abc", {0}, -1, "abc", -1, {0});
        row("remove: several selected", "remove", "abcde", {0, 2, 4}, 1, "bd", 0, {});
        row("remove: several selected, the current one too", "remove", "abcde", {0, 1, 3}, 1, "ce", -1, {});
        row("remove: single entry, not selected", "remove", "a", {}, 0, "a", 0, {});
        row("remove: all selected", "remove", "abc", {0, 1, 2}, 1, "", -1, {});
        row("double-click", "double-click", "abc", {0, 2}, 1, "ac", -1, {0, 1});
        row("double-click, no current", "double-click", "abc", {0}, -1, "abc", -1, {0});
        row("up: second becomes first", "up", "abcd", {1}, 1, "bacd", 0, {0});
        row("up: others keep their marks", "up", "abcd", {0, 3}, 2, "acbd", 1, {0, 1, 3});
        row("up: first stays", "up", "abcd", {0}, 0, "abcd", 0, {0});
        row("up: no current", "up", "abcd", {2}, -1, "abcd", -1, {2});
        row("down: second-to-last becomes last", "down", "abcd", {2}, 2, "abdc", 3, {3});
        row("down: first", "down", "abcd", {}, 0, "bacd", 1, {1});
        row("down: last stays", "down", "abcd", {3}, 3, "abcd", 3, {3});
        row("down: no current", "down", "abcd", {}, -1, "abcd", -1, {});
    }
    void editing()
    {
        QFETCH(QString, op);
        QFETCH(QString, entries);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QString, after);
        QFETCH(int, currentAfter);
        QFETCH(QList<int>, selectedAfter);
        QListWidget list;
        prepare(list, entries.split(QString(), Qt::SkipEmptyParts), selected, current);

        if (op == u"remove")
            removeSelectedEntries(list);
        else if (op == u"double-click")
            removeCurrentEntry(list);
        else
            op == u"up" ? cmdMoveUp_Click(list) : cmdMoveDown_Click(list);

        QCOMPARE(texts(list).join(QString()), after);
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
