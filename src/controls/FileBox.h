#pragma once
// The file box of a browser: the files of one folder whose names match a
// ";"-separated pattern ("*.bmp;*.jpg"), sorted by name, with extended
// selection. Names match without regard to case, so "PHOTO.JPG" is offered
// with "*.jpg"; hidden files (names starting with a dot) are left out.
// A file whose name does not decode in the system encoding is listed too, its
// bad bytes shown as replacement characters, so that adding it can be refused
// by name instead of the file silently missing from the box.
// The box starts at the current folder, which it lists when it is first shown
// or given a folder: a dialog loaded hidden reads no folder.

#include "controls/ListBox.h"

namespace vz {

class FileBox : public ListBox
{
    Q_OBJECT
public:
    explicit FileBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Lists the files of the folder; a folder that cannot be listed lists none
    // and gives false.
    bool setPath(const QString &folder);

    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);

    // The name (without folder) of the file with the focus mark; empty when none.
    QString fileName() const;

    // The name of the listed file as bytes on disk; for a name that decodes,
    // the same as its text written in the system encoding.
    QByteArray nameOnDisk(const QListWidgetItem *item) const;

    // Lists the folder's files again; false when the folder cannot be listed.
    bool refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void insertUndecodable(const QByteArray &name, const QStringList &filters);

    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
    bool m_listed = false;
};

} // namespace vz
