#include "runtime/TextFile.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vz {

namespace {
Q_LOGGING_CATEGORY(lcFiles, "vz.files", QtWarningMsg)
} // namespace

LineReader::LineReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

std::optional<QString> LineReader::next()
{
    if (m_pos >= m_bytes.size())
        return std::nullopt;
    const char *data = m_bytes.constData();
    qsizetype end = m_pos;
    while (end < m_bytes.size() && data[end] != '\r' && data[end] != '\n')
        ++end;
    // A byte order mark is skipped at the start of the file only; further on
    // the same character is part of the text.
    QStringDecoder decode(QStringDecoder::System, m_pos == 0 ? QStringDecoder::Flag::Default
                                                             : QStringDecoder::Flag::ConvertInitialBom);
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
    // A list file that is missing is an empty list; one that is there but
    // cannot be read is taken as empty too, which is worth a note.
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists())
            qCWarning(lcFiles) << path << "cannot be read:" << file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcFiles) << path << "cannot be read:" << file.errorString();
        return std::nullopt;
    }
    return bytes;
}

void LineWriter::add(const QString &line)
{
    // A file that starts with that character gets a byte order mark first,
    // which reading skips, so that the character itself is kept.
    const bool keepMark = m_bytes.isEmpty() && line.startsWith(QChar(0xFEFF));
    QStringEncoder encode(QStringEncoder::System,
                          keepMark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    m_bytes += QByteArray(encode(line));
    m_bytes += "\r\n";
}

Result<> replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString()};
    // The bytes sit in a buffer until flushed; a flush that fails (a full
    // disk) would not stop commit() from putting the short file in place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure{reason};
    }
    if (!file.commit())
        return Failure{file.errorString()};
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
