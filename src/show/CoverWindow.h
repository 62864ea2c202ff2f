#pragma once
// A black window over one whole screen, part of the show: it carries the
// show's caption, takes no focus, and passes its clicks, keys and mouse moves
// on to the show, which ends on them as on its own.

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

Q_SIGNALS:
    void clicked();
    void keyPressed();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent *) override { Q_EMIT clicked(); }
    void keyPressEvent(QKeyEvent *) override { Q_EMIT keyPressed(); }
    void mouseMoveEvent(QMouseEvent *) override { Q_EMIT mouseMoved(); }
};

} // namespace vz
