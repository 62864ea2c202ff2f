#include "runtime/Form.h"

#include <QCloseEvent>

#include "runtime/Program.h"

namespace vz {

Form::Form(Program &program) : QWidget(nullptr), m_program(program)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

void Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_program.unload(this);
}

} // namespace vz
