#pragma once
// The store of the user's own account: an INI file in the user's configuration
// folder ($XDG_CONFIG_HOME/<app>/<app>.conf), one group per section. A store
// made with a folder keeps its files in that folder instead.

#include "common/Result.h"
#include "platform/SettingsStore.h"

namespace vz {

class NativeSettingsStore final : public SettingsStore
{
public:
    NativeSettingsStore() = default;
    explicit NativeSettingsStore(QString folder) : m_folder(std::move(folder)) {}
    QString get(const QString &app, const QString &section, const QString &key,
                const QString &fallback) const override;
    Result<> save(const QString &app, const QString &section, const QString &key,
                                              const QString &value) override;
    QString folder(const QString &app) const override;

private:
    QString m_folder;
};

} // namespace vz
