#pragma once
// The per-user settings store: text values by application name, section and key.

#include "common/Result.h"
#include <QString>
#include <optional>

namespace vz {

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or fallback when the value is absent or the store
    // cannot be read.
    virtual QString get(const QString &app, const QString &section, const QString &key,
                        const QString &fallback) const = 0;
    // Stores the value; a failure says why in words.
    virtual Result<> save(const QString &app, const QString &section, const QString &key,
                          const QString &value) = 0;
    // The folder that holds the store's files for the application.
    virtual QString folder(const QString &app) const = 0;
};

} // namespace vz
