#pragma once
// The file box of a browser: the files of one folder whose names match a
// ";"-separated pattern ("*.bmp;*.jpg"), sorted by name, with extended
// selection. Names match without regard to case, so "PHOTO.JPG" is offered
// with "*.jpg"; hidden files (names starting with a dot) are left out.

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

    // Lists the folder's files again; false when the folder cannot be listed.
    bool refresh();

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace vz
