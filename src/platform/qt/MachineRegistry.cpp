#include "platform/qt/MachineRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

#include "platform/Logging.h"

namespace vz {

namespace {

QString systemStoreFile()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    for (const QString &dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        const QString file = QDir(dir).filePath(QStringLiteral("Veroridovuz/registry.ini"));
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

std::optional<QByteArray> hexBytes(const QByteArray &text)
{
    QByteArray bytes;
    for (const QByteArray &item : text.split(',')) {
        const QByteArray b = item.trimmed();
        if (b.isEmpty() && text.trimmed().isEmpty())
            break;
        bool ok = false;
        const uint v = b.toUInt(&ok, 16);
        if (!ok || b.size() > 2)
            return std::nullopt;
        bytes.append(char(v));
    }
    return bytes;
}

std::optional<reg::Value> parseValue(const QByteArray &data)
{
    const qsizetype colon = data.indexOf(':');
    if (colon < 0)
        return std::nullopt;
    const QByteArray type = data.left(colon).trimmed().toLower();
    const QByteArray rest = data.mid(colon + 1);
    if (type == "sz" || type == "expand_sz")
        return reg::Value{type == "sz" ? reg::TypeSz : reg::TypeExpandSz, rest + '\0'};
    if (type == "dword") {
        bool ok = false;
        const QByteArray digits = rest.trimmed();
        const uint v = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return std::nullopt;
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char((v >> (8 * i)) & 0xff);
        return reg::Value{reg::TypeDword, bytes};
    }
    std::uint32_t valueType = reg::TypeBinary;
    if (type.startsWith("hex(") && type.endsWith(')')) {
        bool ok = false;
        valueType = type.mid(4, type.size() - 5).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
    } else if (type != "hex") {
        return std::nullopt;
    }
    const auto bytes = hexBytes(rest);
    if (!bytes)
        return std::nullopt;
    return reg::Value{valueType, *bytes};
}

void loadStore(const QByteArray &text, RegistryTable &table)
{
    std::optional<QString> key;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            QString path = QString::fromLocal8Bit(line.mid(1, line.size() - 2)).trimmed();
            for (const QString &root : {QStringLiteral("HKEY_LOCAL_MACHINE\\"), QStringLiteral("HKLM\\")})
                if (path.startsWith(root, Qt::CaseInsensitive))
                    path = path.mid(root.size());
            key = path;
            table.addKey(reg::LocalMachine, path);
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        const auto value = key && eq >= 0 ? parseValue(line.mid(eq + 1)) : std::nullopt;
        if (!value) {
            qCWarning(lcPlatform) << "registry store: line left out:" << line;
            continue;
        }
        QString name = QString::fromLocal8Bit(line.left(eq)).trimmed();
        if (name == u"@")
            name.clear();
        table.setValue(reg::LocalMachine, *key, name, *value);
    }
}

QByteArray zeroEnded(const QString &text) { return text.toLocal8Bit() + '\0'; }

} // namespace

QString findSystemInfoTool()
{
    for (const char *name : {"hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

long MachineRegistry::openKey(reg::HKey root, const QString &subKey, std::uint32_t access, reg::HKey &key)
{
    reload();
    return RegistryTable::openKey(root, subKey, access, key);
}

void MachineRegistry::reload()
{
    clear();
    QFile store(m_storeFile.isEmpty() ? systemStoreFile() : m_storeFile);
    // Without a store file only the built-in answers count.
    if (!store.fileName().isEmpty() && store.open(QIODevice::ReadOnly))
        loadStore(store.readAll(), *this);
    else if (!store.fileName().isEmpty())
        qCWarning(lcPlatform) << "registry store" << store.fileName() << "unreadable:" << store.errorString();

    const QString tool = findSystemInfoTool();
    if (tool.isEmpty())
        return;
    if (!hasValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue))
        setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, {reg::TypeSz, zeroEnded(tool)});
    if (!hasValue(reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue))
        setValue(reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue,
                 {reg::TypeSz, zeroEnded(QFileInfo(tool).absolutePath())});
}

} // namespace vz
