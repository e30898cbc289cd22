#include "maintenance/page/background_job.h"

#include <QThread>

namespace fenlark {

BackgroundJob::BackgroundJob(QObject *parent) : QObject(parent) {}

BackgroundJob::~BackgroundJob()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool BackgroundJob::start(std::function<void()> work, std::function<void()> done)
{
    if (m_thread)
        return false;
    m_done = std::move(done);
    QThread *started = QThread::create(std::move(work));
    m_thread = started;
    connect(started, &QThread::finished, this, [this, started] {
        if (m_thread != started)
            return; // wait() has handled it already
        QThread *thread = m_thread;
        m_thread = nullptr;
        thread->deleteLater();
        const std::function<void()> done = std::move(m_done);
        m_done = nullptr;
        if (done)
            done();
    });
    m_thread->start(QThread::LowPriority);
    return true;
}

void BackgroundJob::waitWithoutDone()
{
    m_done = nullptr;
    wait();
}

void BackgroundJob::wait()
{
    if (!m_thread)
        return;
    m_thread->wait();
    // The finished signal is queued to this thread: deliver it now, so done has run on return.
    QThread *thread = m_thread;
    m_thread = nullptr;
    thread->deleteLater();
    const std::function<void()> done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done();
}

} // namespace fenlark
