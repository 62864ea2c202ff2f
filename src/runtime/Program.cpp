#include "runtime/Program.h"

#include <QApplication>
#include <QDir>

namespace vz {

Program::Program(QString folder, Services services)
    : m_folder(std::move(folder)), m_services(std::move(services))
{
}

Program::~Program()
{
    for (auto &[type, form] : m_forms)
        delete form;
}

QString Program::programFile(const QString &name) const
{
    QString local = name;
    if (local.startsWith(u'\\'))
        local = local.mid(1);
    return QDir(m_folder).filePath(local);
}

void Program::unload(Form *form)
{
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if (it->second == form) {
            m_forms.erase(it);
            form->halt();
            form->hide();
            // Deferred: the form may be unloading itself from one of its handlers.
            form->deleteLater();
            break;
        }
    }
    endIfNoVisibleForm();
}

void Program::end(int exitCode)
{
    if (m_ended)
        return;
    m_ended = true;
    m_exitCode = exitCode;
    const auto forms = std::move(m_forms);
    m_forms.clear();
    for (auto &[type, form] : forms) {
        form->halt();
        form->hide();
        form->deleteLater();
    }
    Q_EMIT ended(exitCode);
}

void Program::endIfNoVisibleForm()
{
    if (m_ended)
        return;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return;
    end(0);
}

} // namespace vz
