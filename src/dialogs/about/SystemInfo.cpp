#include "dialogs/about/SystemInfo.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

#include "platform/Shell.h"
#include "runtime/MessageBox.h"

namespace vz {

namespace {

// Closes an opened key however the look-up ends, the error of an empty value
// included.
class KeyCloser
{
public:
    KeyCloser(Registry &registry, reg::HKey key) : m_registry(registry), m_key(key) {}
    ~KeyCloser() { m_registry.closeKey(m_key); }
    KeyCloser(const KeyCloser &) = delete;
    KeyCloser &operator=(const KeyCloser &) = delete;

private:
    Registry &m_registry;
    reg::HKey m_key;
};

// A DWORD is stored least significant byte first.
QString dwordText(const QByteArray &bytes)
{
    std::uint32_t value = 0;
    for (qsizetype i = std::min<qsizetype>(bytes.size(), 4) - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[i]);
    return QString::number(value);
}

} // namespace

bool GetKeyValue(Registry &registry, reg::HKey KeyRoot, const QString &Keyname,
                 const QString &SubKeyRef, QString &KeyVal)
{
    reg::HKey hKey = 0;
    if (registry.openKey(KeyRoot, Keyname, reg::KeyAllAccess, hKey) != reg::Success) {
        KeyVal.clear();
        return false;
    }
    const KeyCloser closer(registry, hKey);

    std::array<char, 1024> buffer{};
    std::uint32_t type = 0;
    std::uint32_t length = 0;
    if (registry.queryValue(hKey, SubKeyRef, type, buffer, length) != reg::Success) {
        KeyVal.clear();
        return false;
    }
    if (length == 0)
        throw KeyValueError("the registry value is empty");

    const QByteArray data(buffer.data(), qsizetype(std::min<std::size_t>(length, buffer.size())));
    const QByteArray text = data.endsWith('\0') ? data.chopped(1) : data;
    switch (type) {
    case reg::TypeSz:
        KeyVal = QString::fromLocal8Bit(text);
        break;
    case reg::TypeDword:
        KeyVal = dwordText(data);
        break;
    default:
        break;
    }
    return true;
}

void StartSysInfo(Registry &registry, Shell &shell, QWidget *owner)
{
    try {
        QString path;
        if (GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path)) {
            if (shell.start(path, Shell::Window::NormalFocus))
                return;
        } else if (GetKeyValue(registry, reg::LocalMachine, reg::SysInfoFolderKey,
                               reg::SysInfoFolderValue, path)) {
            path = QDir::toNativeSeparators(path + QStringLiteral("/MSINFO32.EXE"));
            if (QFileInfo(path).isFile() && shell.start(path, Shell::Window::NormalFocus))
                return;
        }
    } catch (const std::exception &) {
        // Every failure on the way ends in the same message.
    }
    msgBox(owner, QStringLiteral("System Information Is Unavailable At This Time"), MsgIcon::None);
}

} // namespace vz
