#include "runtime/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vz {

LineReader::LineReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

std::optional<QString> LineReader::next()
{
    if (m_pos >= m_bytes.size())
        return std::nullopt;
    const char *data = m_bytes.constData();
    qsizetype end = m_pos;
    while (end < m_bytes.size() && data[end] != '\r' && data[end] != '\n')
        ++end;
    QStringDecoder decode(QStringDecoder::System);
    QString line = decode(QByteArrayView(data + m_pos, end - m_pos));
    if (end < m_bytes.size()) {
        if (data[end] == '\r' && end + 1 < m_bytes.size() && data[end + 1] == '\n')
            ++end;
        ++end;
    }
    m_pos = end;
    return line;
}

std::optional<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

void LineWriter::add(const QString &line)
{
    QStringEncoder encode(QStringEncoder::System);
    m_bytes += QByteArray(encode(line));
    m_bytes += "\r\n";
}

QString replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // The bytes sit in a buffer until flushed; a flush that fails (a full
    // disk) would not stop commit() from putting the short file in place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

bool isEncodable(const QString &text)
{
    QStringEncoder encode(QStringEncoder::System);
    const QByteArray bytes = encode(text);
    if (encode.hasError())
        return false;
    QStringDecoder decode(QStringDecoder::System);
    const QString back = decode(bytes);
    return !decode.hasError() && back == text;
}

} // namespace vz
