#include "show/PicturePreparer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>
#include <cstdlib>

#include "runtime/Program.h"

namespace vz {

Q_LOGGING_CATEGORY(lcShow, "vz.show", QtWarningMsg)

namespace {

PicturePreparer::Stamp stampOf(const QString &fileName)
{
    const QFileInfo about(fileName);
    if (fileName.isEmpty() || !about.exists())
        return {};
    return {true, about.size(), about.lastModified(), about.metadataChangeTime()};
}

Picture load(const PictureRequest &request)
{
    return request.fit ? PictureLoader::loadFitted(request.fileName, request.screen)
                       : PictureLoader::loadVisible(request.fileName, request.screen);
}

} // namespace

PicturePreparer::PicturePreparer(const Program &program, QObject *parent)
    : QObject(parent), m_running(std::make_shared<QFuture<Prepared>>())
{
    // A decode cannot be stopped half-way, and the show must end at once: a
    // process that quits while one runs neither waits for it nor takes down
    // the libraries it runs in under it, but ends there with its exit code.
    // The hook outlives the show window, which may go before the quit.
    const QPointer<const Program> owner(&program);
    m_quitHook = connect(qApp, &QCoreApplication::aboutToQuit, qApp, [running = m_running, owner] {
        if (running->isRunning()) {
            std::fflush(nullptr);
            std::quick_exit(owner ? owner->exitCode() : 0);
        }
    });
}

PicturePreparer::~PicturePreparer()
{
    if (!m_running->isRunning())
        disconnect(m_quitHook);
}

void PicturePreparer::prepare(const PictureRequest &request)
{
    m_request = request;
    m_pending = true;
    m_job = QtConcurrent::run([request] {
        Prepared prepared;
        prepared.stamp = stampOf(request.fileName);
        prepared.picture = load(request);
        return prepared;
    });
    m_watcher.setFuture(m_job);
    *m_running = m_job;
}

bool PicturePreparer::waitUntilReady()
{
    if (m_job.isFinished())
        return true;
    QEventLoop loop;
    connect(&m_watcher, &QFutureWatcher<Prepared>::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return m_job.isFinished();
}

Picture PicturePreparer::take(QSize screen)
{
    m_pending = false;
    PictureRequest request = m_request;
    request.screen = screen;
    Prepared prepared = m_job.result();
    m_job = {};
    m_watcher.setFuture(m_job);
    *m_running = m_job;
    if (request == m_request && stampOf(request.fileName) == prepared.stamp)
        return std::move(prepared.picture);
    qCDebug(lcShow) << "loading" << request.fileName << "again: it or the screen changed since it was prepared";
    return load(request);
}

} // namespace vz
