#include "show/PicturePreparer.h"

#include <QFileInfo>

#include "imaging/DateTaken.h"
#include "show/Surround.h"
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vz {

Q_LOGGING_CATEGORY(lcShow, "vz.show", QtWarningMsg)

namespace {

// A file's identity for the staleness check: its size and times.
struct Stamp {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    QDateTime changed;
    bool operator==(const Stamp &) const = default;
};

Stamp stampOf(const QString &fileName)
{
    const QFileInfo about(fileName);
    if (fileName.isEmpty() || !about.exists())
        return {};
    return {true, about.size(), about.lastModified(), about.metadataChangeTime()};
}

PreparedPicture load(const PictureRequest &request, const picture::CancelFlag *cancel = nullptr)
{
    PreparedPicture prepared;
    prepared.picture = request.fit ? PictureLoader::loadFitted(request.fileName, request.screen, request.screenProfile, cancel)
                                   : PictureLoader::loadVisible(request.fileName, request.screen, request.screenProfile, cancel);
    if (request.surround && !picture::isCancelled(cancel))
        prepared.surround = makeSurround(prepared.picture, request.screen);
    if (request.dateTaken && prepared.picture.ok() && !prepared.picture.empty())
        prepared.taken = picture::dateTaken(request.fileName);
    return prepared;
}

} // namespace

// One preparation, shared by the preparer and the thread that decodes it.
// The thread holds it until it is done, so a preparation given up outlives
// its preparer safely; `owner` is cleared under the lock when it is given up,
// and the thread reports only to an owner it finds under that lock.
struct PicturePreparer::Job {
    PictureRequest request;
    picture::CancelFlag cancel{false};
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    Stamp stamp;
    PreparedPicture prepared;
    PicturePreparer *owner = nullptr;
};

PicturePreparer::PicturePreparer(QObject *parent) : QObject(parent) {}

PicturePreparer::~PicturePreparer()
{
    giveUp(m_job, kGiveUpWaitMs);
}

void PicturePreparer::giveUp(const std::shared_ptr<Job> &job, int waitMs)
{
    if (!job)
        return;
    job->cancel = true;
    std::unique_lock hold(job->lock);
    job->owner = nullptr;
    if (!job->done.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return job->finished; }))
        qCDebug(lcShow) << "left" << job->request.fileName << "to finish decoding on its own";
}

void PicturePreparer::prepare(const PictureRequest &request)
{
    giveUp(m_job, 0);
    auto job = std::make_shared<Job>();
    job->request = request;
    job->owner = this;
    m_job = job;
    std::thread([job] {
        Stamp stamp = stampOf(job->request.fileName);
        PreparedPicture prepared = load(job->request, &job->cancel);
        const std::lock_guard hold(job->lock);
        job->stamp = std::move(stamp);
        job->prepared = std::move(prepared);
        job->finished = true;
        job->done.notify_all();
        // Posted to the preparer's thread; dropped there if the preparer goes first.
        if (PicturePreparer *owner = job->owner)
            QMetaObject::invokeMethod(owner, [owner, done = job.get()] { owner->finished(done); }, Qt::QueuedConnection);
    }).detach();
}

void PicturePreparer::finished(const Job *job)
{
    if (job == m_job.get())
        Q_EMIT ready();
}

bool PicturePreparer::isReady() const
{
    if (!m_job)
        return false;
    const std::lock_guard hold(m_job->lock);
    return m_job->finished;
}

PreparedPicture PicturePreparer::take(QSize screen)
{
    const std::shared_ptr<Job> job = std::move(m_job);
    PictureRequest request = job->request;
    request.screen = screen;
    std::unique_lock hold(job->lock);
    job->done.wait(hold, [&] { return job->finished; });
    job->owner = nullptr;
    if (request == job->request && stampOf(request.fileName) == job->stamp)
        return std::move(job->prepared);
    qCDebug(lcShow) << "loading" << request.fileName << "again: it or the screen changed since it was prepared";
    hold.unlock();
    return load(request);
}

} // namespace vz
