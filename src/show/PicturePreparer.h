#pragma once
// The show's next picture, decoded on a worker thread while the current one is
// on the screen, so that a tick only has to put ready pixels there. The file's
// size and times are noted before it is decoded; a file that has changed or
// gone by the time its picture is taken is loaded again then. The ticks and
// the pictures loaded again are logged under "vz.show" at debug level.

#include <QDateTime>
#include <QFuture>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QMetaObject>
#include <memory>
#include <QObject>

#include "imaging/PictureLoader.h"

namespace vz {

Q_DECLARE_LOGGING_CATEGORY(lcShow)

class Program;

// What a picture is decoded for: the file, the screen in device pixels, and
// whether a large picture is fitted to the screen or shown at natural size.
struct PictureRequest {
    QString fileName;
    QSize screen;
    bool fit = false;
    bool operator==(const PictureRequest &) const = default;
};

class PicturePreparer : public QObject
{
    Q_OBJECT
public:
    explicit PicturePreparer(const Program &program, QObject *parent = nullptr);
    ~PicturePreparer() override;

    // Starts decoding; a preparation not yet taken is dropped.
    void prepare(const PictureRequest &request);
    // A preparation has been started and not yet taken.
    bool pending() const { return m_pending; }
    // Waits for the pending decode, running the event loop meanwhile so that
    // input is still handled. False when the event loop was told to quit first.
    bool waitUntilReady();
    // Takes the pending picture, waiting for it first (waitUntilReady()). It is
    // loaded again here when the screen is no longer the one it was prepared
    // for, or when its file has changed or gone since.
    Picture take(QSize screen);

    // A file's identity for the staleness check: its size and times.
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const Stamp &) const = default;
    };
    struct Prepared {
        Stamp stamp;
        Picture picture;
    };

private:
    QFuture<Prepared> m_job;
    QFutureWatcher<Prepared> m_watcher;
    PictureRequest m_request;
    bool m_pending = false;
    // The decode under way, as the quit hook sees it.
    std::shared_ptr<QFuture<Prepared>> m_running;
    QMetaObject::Connection m_quitHook;
};

} // namespace vz
