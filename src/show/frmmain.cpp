#include "show/frmmain.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/Cursor.h"
#include "runtime/Program.h"
#include "startup/Module1.h"

namespace vz {

frmmain::frmmain(Program &program) : Form(program)
{
    // Every show carries the caption, so a second show can find it.
    setWindowTitle(kAppTitle);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
}

void frmmain::Form_Load()
{
    program().cursor().setPos(QPoint(0, 0));
    HideCursor(program().cursor());
}

void frmmain::endscr()
{
    RestoreCursor(program().cursor());
    program().end();
}

void frmmain::mousePressEvent(QMouseEvent *) { Form_Click(); }

void frmmain::keyPressEvent(QKeyEvent *) { Form_KeyDown(); }

void frmmain::mouseMoveEvent(QMouseEvent *) { Form_MouseMove(); }

void frmmain::Form_MouseMove()
{
    const QPoint now = program().cursor().pos();
    if (now != formpos) {
        endscr();
        return;
    }
    formpos = now;
}

} // namespace vz
