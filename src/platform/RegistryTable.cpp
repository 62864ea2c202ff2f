#include "platform/RegistryTable.h"

#include <algorithm>

namespace vz {

QString RegistryTable::keyId(reg::HKey root, const QString &path)
{
    QString p = path;
    while (p.endsWith(u'\\'))
        p.chop(1);
    return QString::number(root, 16) + u':' + p.toCaseFolded();
}

void RegistryTable::addKey(reg::HKey root, const QString &path, std::uint32_t allowedAccess)
{
    m_keys[keyId(root, path)].allowedAccess = allowedAccess;
}

void RegistryTable::setValue(reg::HKey root, const QString &path, const QString &name, reg::Value value)
{
    m_keys[keyId(root, path)].values.insert(name.toCaseFolded(), std::move(value));
}

bool RegistryTable::hasValue(reg::HKey root, const QString &path, const QString &name) const
{
    const auto it = m_keys.constFind(keyId(root, path));
    return it != m_keys.cend() && it->values.contains(name.toCaseFolded());
}

void RegistryTable::clear() { m_keys.clear(); }

long RegistryTable::openKey(reg::HKey root, const QString &subKey, std::uint32_t access, reg::HKey &key)
{
    const auto it = m_keys.constFind(keyId(root, subKey));
    if (it == m_keys.cend())
        return reg::FileNotFound;
    if ((access & ~it->allowedAccess) != 0)
        return reg::AccessDenied;
    key = m_nextHandle++;
    m_open.emplace(key, *it);
    return reg::Success;
}

long RegistryTable::queryValue(reg::HKey key, const QString &name, std::uint32_t &type,
                               std::span<char> buffer, std::uint32_t &length)
{
    const auto open = m_open.find(key);
    if (open == m_open.end())
        return reg::InvalidHandle;
    const auto it = open->second.values.constFind(name.toCaseFolded());
    if (it == open->second.values.cend())
        return reg::FileNotFound;
    type = it->type;
    length = std::uint32_t(it->data.size());
    if (std::size_t(it->data.size()) > buffer.size())
        return reg::MoreData;
    std::copy(it->data.cbegin(), it->data.cend(), buffer.begin());
    return reg::Success;
}

long RegistryTable::closeKey(reg::HKey key)
{
    return m_open.erase(key) ? reg::Success : reg::InvalidHandle;
}

} // namespace vz
