#pragma once
// The show window: borderless, covering the primary screen, black; any click,
// key or real mouse movement ends the show.

#include <QPoint>

#include "runtime/Form.h"

namespace vz {

class frmmain : public Form
{
    Q_OBJECT
public:
    explicit frmmain(Program &program);
    void Form_Load() override;

    // Ends the show and the program: restores the cursor, ends at once.
    void endscr();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void Form_Click() { endscr(); }
    void Form_KeyDown() { endscr(); }
    void Form_MouseMove();

    QPoint formpos;
};

} // namespace vz
