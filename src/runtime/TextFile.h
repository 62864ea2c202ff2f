#pragma once
// Line-oriented text files as the list files use them: text in the system's
// encoding, every line ended by CR LF when written; CR LF, LF or a lone CR end a
// line when read. A file is read or written whole, inside one handler.

#include "common/Result.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vz {

// Hands out the lines of a file's contents one at a time.
class LineReader
{
public:
    explicit LineReader(QByteArray bytes);
    // The next line without its line end; nullopt at the end of the file.
    std::optional<QString> next();

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

// The whole file, or nullopt when it cannot be opened or read (logged under
// vz.files unless it is missing).
std::optional<QByteArray> readWholeFile(const QString &path);

// Collects lines and writes them with CR LF line ends.
class LineWriter
{
public:
    void add(const QString &line);
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Replaces the file at path with bytes, through a temporary file renamed over
// the old one, so the old file stays whole when anything fails. Returns nullopt
// on success, otherwise the reason in words.
Result<> replaceFile(const QString &path, const QByteArray &bytes);

// Whether text can be written in the system's encoding and read back unchanged.
bool isEncodable(const QString &text);

} // namespace vz
