#include "settings/HorizIt.h"

#include <QFontMetricsF>

#include <cmath>
#include <utility>

#include "controls/ListBox.h"

namespace vz {

namespace {

// Text widths are worked in twips (1/1440 inch) and brought back to pixels by
// whole-number division, so a width is never rounded up to the next pixel.
constexpr double kTwipsPerPixel = 15.0;

long long roundHalfEven(double x) { return std::llrint(x); }

} // namespace

void SetListExtent(ListBox &list)
{
    const int last = list.count() - 1;
    QString widest = last >= 0 ? list.item(0)->text() : QString();
    for (int i = 1; i <= last; ++i)
        if (QString entry = list.item(i)->text(); entry.size() > widest.size())
            widest = std::move(entry);
    const QString text = widest + u' ';
    const QFontMetricsF metrics(list.window()->font());
    const long long twips = roundHalfEven(metrics.horizontalAdvance(text) * kTwipsPerPixel);
    list.setHorizontalExtent(int(twips / roundHalfEven(kTwipsPerPixel)));
}

} // namespace vz
