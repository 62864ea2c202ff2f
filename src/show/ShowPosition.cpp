#include "show/ShowPosition.h"

#include <QCryptographicHash>
#include <QLoggingCategory>

#include "runtime/Program.h"
#include "show/PicturePreparer.h"

namespace vz {

namespace {

const QString kSection = QStringLiteral("Position");

QString fingerprint(const QStringList &list)
{
    const QByteArray hash = QCryptographicHash::hash(list.join(u'\n').toUtf8(), QCryptographicHash::Sha1);
    return QString::number(list.size()) + u':' + QString::fromLatin1(hash.toHex().left(16));
}

std::optional<Integer> number(const QString &text)
{
    return text.isEmpty() ? std::nullopt : toInteger(text);
}

} // namespace

ShowPosition::ShowPosition(Program &program, const QStringList &pictures, const QStringList &songs)
    : m_program(program), m_pictures(fingerprint(pictures)), m_songs(fingerprint(songs))
{
}

QString ShowPosition::get(const QString &key) const
{
    return m_program.store().get(kAppTitle, kSection, key, QString());
}

void ShowPosition::save(const QString &key, const QString &value)
{
    if (const auto saved = m_program.store().save(kAppTitle, kSection, key, value); !saved)
        qCWarning(lcShow) << "the show's position is not kept:" << saved.error();
}

std::optional<PictureOrder::Place> ShowPosition::pictures() const
{
    // One value, so that a position is never read half of one show's and
    // half of another's.
    const QStringList parts = get(QStringLiteral("Pictures")).split(u' ');
    const auto picnum = parts.size() >= 2 ? number(parts[1]) : std::nullopt;
    if (parts.first() != m_pictures || !picnum)
        return std::nullopt;
    PictureOrder::Place place{*picnum, {}};
    for (const QString &entry : parts.mid(2))
        if (const auto index = number(entry))
            place.round << *index;
    return place;
}

void ShowPosition::savePictures(const PictureOrder::Place &place)
{
    QStringList parts{m_pictures, QString::number(place.picnum)};
    for (Integer index : place.round)
        parts << QString::number(index);
    save(QStringLiteral("Pictures"), parts.join(u' '));
}

std::optional<Integer> ShowPosition::nextSong() const
{
    const QStringList parts = get(QStringLiteral("Songs")).split(u' ');
    if (parts.size() != 2 || parts.first() != m_songs)
        return std::nullopt;
    return number(parts[1]);
}

void ShowPosition::saveNextSong(Integer song)
{
    save(QStringLiteral("Songs"), m_songs + u' ' + QString::number(song));
}

} // namespace vz
