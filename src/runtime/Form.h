#pragma once
// The base of every form: a top-level window that belongs to a Program.

#include <QWidget>

namespace vz {

class Program;

class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(Program &program);
    Program &program() const { return m_program; }

    // Runs once, when the form is first referred to, whether or not it is then shown.
    virtual void Form_Load() {}
    // Called when the program ends or the form is unloaded: stop timers and
    // anything else that would run on.
    virtual void halt() {}

protected:
    // The close box unloads the form.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // Makes the form a dialog of its designed size that cannot be resized, with
    // only a close box, centred on its screen the first time it is shown.
    // A point size, when given, is the font the dialog was laid out for.
    void makeFixedDialog(qreal pointSize = 0);

private:
    Program &m_program;
    bool m_centreOnShow = false;
};

} // namespace vz
