#pragma once
// The system registry as the program reads it: keys under a root, opened with
// an access mask, holding typed values of raw bytes. Calls answer with the
// system's status codes, so callers keep the classic checks.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

namespace vz::reg {

// A root or an opened key.
using HKey = std::uint32_t;
inline constexpr HKey LocalMachine = 0x80000002;

inline constexpr std::uint32_t KeyRead = 0x20019;
inline constexpr std::uint32_t KeyAllAccess = 0x2003F;

inline constexpr std::uint32_t TypeSz = 1;
inline constexpr std::uint32_t TypeExpandSz = 2;
inline constexpr std::uint32_t TypeBinary = 3;
inline constexpr std::uint32_t TypeDword = 4;

inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidHandle = 6;
inline constexpr long MoreData = 234;

// Where the system information tool is recorded: its full path name, and the
// folder that holds MSINFO32.EXE.
inline const QString SysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString SysInfoValue = QStringLiteral("PATH");
inline const QString SysInfoFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString SysInfoFolderValue = QStringLiteral("MSINFO");

struct Value {
    std::uint32_t type = TypeBinary;
    QByteArray data;
};

} // namespace vz::reg

namespace vz {

class Registry
{
public:
    virtual ~Registry() = default;
    // Opens subKey below root with the access asked for; on Success key holds a
    // handle to close with closeKey.
    virtual long openKey(reg::HKey root, const QString &subKey, std::uint32_t access,
                         reg::HKey &key) = 0;
    // Copies the named value of an open key into buffer and reports its type and
    // its size in bytes. A value larger than buffer gives MoreData with the size
    // it needs, and buffer is left alone.
    virtual long queryValue(reg::HKey key, const QString &name, std::uint32_t &type,
                            std::span<char> buffer, std::uint32_t &length) = 0;
    virtual long closeKey(reg::HKey key) = 0;
};

} // namespace vz
