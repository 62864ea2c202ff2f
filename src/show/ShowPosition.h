#pragma once
// Where the last show stopped, so that the next one can continue there: the
// picture order's place and the song to play next, kept per user in the
// settings store ("Position" section) and written as each picture is shown
// or song started. The store writes atomically and under a lock, so several
// shows at once (one per monitor) leave one whole position, the last written.
// A position saved for a list other than today's (the list was edited) is
// not used: the show starts from the beginning.

#include <QStringList>
#include <optional>

#include "runtime/Numbers.h"
#include "show/PictureOrder.h"

namespace vz {

class Program;

class ShowPosition
{
public:
    ShowPosition(Program &program, const QStringList &pictures, const QStringList &songs);

    std::optional<PictureOrder::Place> pictures() const;
    void savePictures(const PictureOrder::Place &place);
    std::optional<Integer> nextSong() const;
    void saveNextSong(Integer song);

private:
    QString get(const QString &key) const;
    void save(const QString &key, const QString &value);

    Program &m_program;
    QString m_pictures; // what the lists are, to tell whether a position fits them
    QString m_songs;
};

} // namespace vz
