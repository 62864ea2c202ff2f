#pragma once
// The show's next picture, decoded on a thread of its own while the current
// one is on the screen, so that a tick only has to put ready pixels there.
// The file's size and times are noted before it is decoded; a file that has
// changed or gone by the time its picture is taken is loaded again then.
//
// A preparation that is dropped (a newer one, or the preparer going with the
// show) is given up: the decoder stops where it can (see imaging/Cancel.h),
// and one that cannot stop finishes on its own thread and is thrown away; it
// never touches the preparer or the show again.

#include <QDateTime>
#include <QLoggingCategory>
#include <QObject>
#include <memory>

#include "imaging/PictureLoader.h"

namespace vz {

Q_DECLARE_LOGGING_CATEGORY(lcShow)

// What a picture is decoded for: the file, the screen in device pixels,
// whether a large picture is fitted to the screen or shown at natural size,
// and the screen's colour profile (empty: sRGB); and what is made with it:
// its blurred surround, the date it was taken.
struct PictureRequest {
    QString fileName;
    QSize screen;
    bool fit = false;
    QByteArray screenProfile;
    bool surround = false;
    bool dateTaken = false;
    bool operator==(const PictureRequest &) const = default;
};

// A prepared picture and what was made with it (null and invalid when not asked for).
struct PreparedPicture {
    Picture picture;
    QImage surround;
    QDateTime taken;
};

class PicturePreparer : public QObject
{
    Q_OBJECT
public:
    explicit PicturePreparer(QObject *parent = nullptr);
    // Gives up the preparation under way, waiting for it no longer than
    // kGiveUpWaitMs.
    ~PicturePreparer() override;

    // Starts decoding; a preparation not yet taken is given up.
    void prepare(const PictureRequest &request);
    // A preparation has been started and not yet taken.
    bool pending() const { return bool(m_job); }
    // The pending preparation is decoded; ready() is sent when it gets there.
    bool isReady() const;
    // Takes the pending picture, waiting for it first if need be. It is loaded
    // again here when the screen is no longer the one it was prepared for, or
    // when its file has changed or gone since.
    PreparedPicture take(QSize screen);

    // How long going away waits for a decoder to stop: long enough for one
    // that looks at its cancel flag, short enough not to be noticed.
    static constexpr int kGiveUpWaitMs = 100;

Q_SIGNALS:
    void ready();

private:
    struct Job;
    void finished(const Job *job);
    static void giveUp(const std::shared_ptr<Job> &job, int waitMs);

    std::shared_ptr<Job> m_job;
};

} // namespace vz
