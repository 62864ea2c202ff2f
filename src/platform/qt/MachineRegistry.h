#pragma once
// The machine part of the registry on Linux (HKEY_LOCAL_MACHINE): a read-only
// store file that the administrator keeps, plus built-in answers that point the
// system information keys at a system-information program of the machine.
//
// The store file is Veroridovuz/registry.ini in the first system configuration
// folder that has one ($XDG_CONFIG_DIRS, /etc/xdg when unset). A section names
// a key (a leading "HKEY_LOCAL_MACHINE\" may be written); each line below it is
// name=type:data, with "@" naming the key's default value:
//
//   [SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   PATH=sz:/usr/bin/hardinfo
//   Flags=dword:0000002a
//   Raw=hex(7):41,00,42,00,00,00
//
// sz and expand_sz hold the text to the end of the line, stored with a closing
// zero byte; dword is hexadecimal (at most 8 digits); hex holds binary bytes and
// hex(n) bytes of type n (n hexadecimal). Lines starting with ";" or "#" are
// comments; a line that does not parse is left out.
//
// The program only reads this store, so its keys grant any access asked for.
// Both are read afresh each time a key is opened, so a program installed or a
// file changed while the program runs counts at the next look-up.

#include "platform/RegistryTable.h"

namespace vz {

// The system-information program found on PATH (hardinfo, kinfocenter,
// gnome-system-monitor, mate-system-monitor, in that order), or empty.
QString findSystemInfoTool();

class MachineRegistry final : public RegistryTable
{
public:
    // The store file of the system configuration folders.
    MachineRegistry() = default;
    // The given store file instead.
    explicit MachineRegistry(QString storeFile) : m_storeFile(std::move(storeFile)) {}

    long openKey(reg::HKey root, const QString &subKey, std::uint32_t access,
                 reg::HKey &key) override;

private:
    void reload();
    QString m_storeFile;
};

} // namespace vz
