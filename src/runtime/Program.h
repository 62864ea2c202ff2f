#pragma once
// The running program: its folder, its platform services and its forms. Each
// form is one object, created and loaded (its Form_Load runs) the first time
// anything refers to it, alive until it is unloaded, and created afresh on the
// next reference. Nothing else in the program is global, so a test builds a
// Program on a temporary folder with its own settings store.

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <typeindex>
#include <unordered_map>

#include "platform/Cursor.h"
#include "platform/DisplayProfile.h"
#include "platform/HostWindow.h"
#include "platform/Instance.h"
#include "platform/MusicClaim.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "runtime/Form.h"

namespace vz {

// The application title: the title of every message box, the application name
// in the settings store, and the caption that marks a running show.
inline const QString kAppTitle = QStringLiteral("Veroridovuz");

struct Services {
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Cursor> cursor;
    std::unique_ptr<Instance> instance;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<HostWindow> hosts;
    std::unique_ptr<MusicClaim> music;
    // May be null (a test's Program): pictures are then shown in sRGB.
    std::unique_ptr<DisplayProfile> displayProfile;
};

class Program : public QObject
{
    Q_OBJECT
public:
    Program(QString folder, Services services);
    ~Program() override;

    // The folder the program file lies in.
    const QString &folder() const { return m_folder; }
    // A file of the program's folder, named as the program names it ("\RozG.ini"):
    // the leading backslash stands for the platform's separator.
    QString programFile(const QString &name) const;

    SettingsStore &store() { return *m_services.store; }
    Cursor &cursor() { return *m_services.cursor; }
    Instance &instance() { return *m_services.instance; }
    Shell &shell() { return *m_services.shell; }
    Registry &registry() { return *m_services.registry; }
    HostWindow &hosts() { return *m_services.hosts; }
    MusicClaim &musicClaim() { return *m_services.music; }
    // The ICC profile of a monitor (0 the first); empty without one.
    QByteArray displayProfile(int monitor) const
    {
        return m_services.displayProfile ? m_services.displayProfile->iccProfile(monitor) : QByteArray();
    }

    // The form of type F, created and loaded on first reference.
    template <class F> F &form();
    // The form of type F if it is loaded, without loading it.
    template <class F> F *loadedForm() const;

    // Destroys the form; its next reference loads it anew. The program ends
    // when no visible form remains.
    void unload(Form *form);
    // Ends the program at once: every form closes without further events.
    void end(int exitCode = 0);
    bool hasEnded() const { return m_ended; }

    // The window of a host (a screen-saver daemon's window, or the root window)
    // that the show draws into instead of a window of its own; the host then
    // owns the input and the cursor.
    std::optional<quintptr> hostWindow() const { return m_hostWindow; }
    void setHostWindow(std::optional<quintptr> window) { m_hostWindow = window; }
    int exitCode() const { return m_exitCode; }
    // Ends the program when none of its windows is visible any more; forms that
    // are loaded but hidden do not hold it open.
    void endIfNoVisibleForm();

Q_SIGNALS:
    // The program has ended; the event loop that runs it should stop now.
    void ended(int exitCode);

private:
    QString m_folder;
    Services m_services;
    std::unordered_map<std::type_index, Form *> m_forms;
    std::optional<quintptr> m_hostWindow;
    bool m_ended = false;
    int m_exitCode = 0;
};

template <class F> F &Program::form()
{
    if (F *loaded = loadedForm<F>())
        return *loaded;
    auto *f = new F(*this);
    m_forms[typeid(F)] = f;
    f->Form_Load();
    return *f;
}

template <class F> F *Program::loadedForm() const
{
    const auto it = m_forms.find(typeid(F));
    return it == m_forms.end() ? nullptr : static_cast<F *>(it->second);
}

} // namespace vz
