#pragma once
// A black window over one whole screen, part of the show: it carries the
// show's caption and takes no focus; the show watches its input as its own.

#include <QWidget>

class QScreen;

namespace vz {

// What the show's window and its covers share: black where nothing is drawn,
// and a mouse move seen without a button held.
void makeShowSurface(QWidget &window, const QString &caption);

class CoverWindow final : public QWidget
{
    Q_OBJECT
public:
    CoverWindow(QScreen *screen, const QString &caption);
};

} // namespace vz
