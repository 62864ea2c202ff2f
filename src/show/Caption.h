#pragma once
// The caption of the picture on the screen, small in the bottom-left corner on
// a faint dark band so that it reads on any picture: the file's name, the date
// it was taken in the user's locale, or both. Names come from files and are
// shown as plain text, cut to the screen's width.

#include <QDateTime>
#include <QLabel>
#include <QLocale>

namespace vz {

// The caption for a picture in one of ShowOptions::Caption's modes; empty
// when there is nothing to say (no date, or captions off).
QString captionText(int mode, const QString &fileName, const QDateTime &taken, const QLocale &locale = QLocale());

class Caption final : public QLabel
{
    Q_OBJECT
public:
    explicit Caption(QWidget *parent);
    // Shows the text in the corner of the parent, or nothing for an empty one.
    void setCaption(const QString &text);
};

} // namespace vz
