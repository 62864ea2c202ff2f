#pragma once
// The system information tool: where the registry says it is, and starting it.

#include <QString>
#include <stdexcept>

#include "platform/Registry.h"

class QWidget;

namespace vz {

class Shell;

// A value that reports a size of zero bytes: it has no last byte to look at.
class KeyValueError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the value SubKeyRef of the key Keyname under KeyRoot into KeyVal. The
// key is opened with full access rights and the value read into 1024 bytes; a
// closing zero byte is dropped and the bytes are read as the system's 8-bit
// text. A string value sets KeyVal to the text, a DWORD value to its number in
// decimal; any other type leaves KeyVal as the caller passed it and still
// counts as read. When the key cannot be opened or the value cannot be read
// (including a value longer than 1024 bytes), KeyVal becomes empty and the
// result is false. A value of zero bytes throws KeyValueError.
bool GetKeyValue(Registry &registry, reg::HKey KeyRoot, const QString &Keyname,
                 const QString &SubKeyRef, QString &KeyVal);

// Starts the system information tool named by the registry: its full path
// name, or else MSINFO32.EXE in the folder recorded for it. When neither
// leads to a started program, or anything on the way fails, the user is told
// "System Information Is Unavailable At This Time".
void StartSysInfo(Registry &registry, Shell &shell, QWidget *owner);

} // namespace vz
