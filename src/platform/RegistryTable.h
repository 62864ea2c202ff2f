#pragma once
// A registry held in memory: the machine registry of the Linux backend fills
// one from its store file, and tests fill one by hand.

#include <QHash>
#include <map>

#include "platform/Registry.h"

namespace vz {

// A registry held in memory. Key paths and value names are compared without
// regard to case; each key allows a set of access rights. An open handle keeps
// the values the key had when it was opened.
class RegistryTable : public Registry
{
public:
    void addKey(reg::HKey root, const QString &path, std::uint32_t allowedAccess = reg::KeyAllAccess);
    // Sets a value, adding its key when needed.
    void setValue(reg::HKey root, const QString &path, const QString &name, reg::Value value);
    bool hasValue(reg::HKey root, const QString &path, const QString &name) const;
    void clear();
    // Handles opened and not yet closed.
    int openHandles() const { return int(m_open.size()); }

    long openKey(reg::HKey root, const QString &subKey, std::uint32_t access,
                 reg::HKey &key) override;
    long queryValue(reg::HKey key, const QString &name, std::uint32_t &type,
                    std::span<char> buffer, std::uint32_t &length) override;
    long closeKey(reg::HKey key) override;

private:
    struct Key {
        std::uint32_t allowedAccess = reg::KeyAllAccess;
        QHash<QString, reg::Value> values;
    };
    static QString keyId(reg::HKey root, const QString &path);

    QHash<QString, Key> m_keys;
    std::map<reg::HKey, Key> m_open;
    reg::HKey m_nextHandle = 0x100;
};

} // namespace vz
