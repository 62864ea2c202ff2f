#pragma once
// The per-user settings store: text values by application name, section and key.

#include <QString>

namespace vz {

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or fallback when the value is absent.
    virtual QString get(const QString &app, const QString &section, const QString &key,
                        const QString &fallback) const = 0;
    // Stores the value; returns an empty text on success, otherwise the reason.
    virtual QString save(const QString &app, const QString &section, const QString &key,
                         const QString &value) = 0;
    // The folder that holds the store's files for the application.
    virtual QString folder(const QString &app) const = 0;
};

// The store of the user's own account: on Linux an INI file in the user's
// configuration folder ($XDG_CONFIG_HOME/<app>/<app>.conf), one group per section.
// A store made with a folder keeps its files in that folder instead.
class NativeSettingsStore final : public SettingsStore
{
public:
    NativeSettingsStore() = default;
    explicit NativeSettingsStore(QString folder) : m_folder(std::move(folder)) {}
    QString get(const QString &app, const QString &section, const QString &key,
                const QString &fallback) const override;
    QString save(const QString &app, const QString &section, const QString &key,
                 const QString &value) override;
    QString folder(const QString &app) const override;

private:
    QString m_folder;
};

} // namespace vz
