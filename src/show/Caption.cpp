#include "show/Caption.h"

#include <QFileInfo>

#include "show/PicturePreparer.h"
#include "settings/ShowOptions.h"

namespace vz {

namespace {
constexpr int kMargin = 12;
}

QString captionText(int mode, const QString &fileName, const QDateTime &taken, const QLocale &locale)
{
    const QString name = QFileInfo(fileName).fileName();
    const QString date = taken.isValid() ? locale.toString(taken.date(), QLocale::LongFormat) : QString();
    switch (mode) {
    case ShowOptions::FileName: return name;
    case ShowOptions::DateTaken: return date;
    case ShowOptions::NameAndDate: return date.isEmpty() ? name : name + QStringLiteral("  \u00b7  ") + date;
    default: return {};
    }
}

Caption::Caption(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("QLabel { color: white; background: rgba(0, 0, 0, 110); padding: 3px 8px; }"));
    hide();
}

void Caption::setCaption(const QString &text)
{
    qCDebug(lcShow) << "caption" << text;
    setAccessibleName(text);
    if (text.isEmpty()) {
        hide();
        return;
    }
    const int room = parentWidget()->width() - 2 * kMargin - contentsMargins().left() - contentsMargins().right() - 16;
    setText(fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(room, 0)));
    adjustSize();
    move(kMargin, parentWidget()->height() - height() - kMargin);
    show();
    raise();
}

} // namespace vz
