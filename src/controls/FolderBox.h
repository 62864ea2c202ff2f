#pragma once
// The folder box of a browser: the current folder's ancestors from the root
// down, each indented one step further, the current folder marked, and its
// subfolders below it. Double-clicking a folder (or Enter on it) opens it.
// Hidden folders (names starting with a dot) are left out.
// The box starts at the current folder, which it lists when it is first shown
// or given a folder: a dialog loaded hidden reads no folder.

#include <QListWidget>

namespace vz {

class FolderBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Opens the folder; false, and nothing changes, when it does not exist or
    // cannot be listed.
    bool setPath(const QString &folder);

    // Whether the folder exists and its entries can be read.
    static bool canList(const QString &folder);

Q_SIGNALS:
    // The current folder changed.
    void changed();
    // The user tried to open a folder that cannot be listed; the box stays where it was.
    void refused(const QString &folder);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void open(const QListWidgetItem *item);
    void fill();

    QString m_path;
    bool m_listed = false;
};

} // namespace vz
