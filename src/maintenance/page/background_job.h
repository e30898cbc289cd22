#pragma once

#include <QObject>

#include <functional>

class QThread;

namespace fenlark {

// Runs one piece of work at a time on a thread of its own and calls done on the owner's
// thread when it is over. The work must use its own database connection. Destroying the job
// waits for the work, so nothing it touches goes away under it.
class BackgroundJob : public QObject {
    Q_OBJECT
public:
    explicit BackgroundJob(QObject *parent = nullptr);
    ~BackgroundJob() override;

    // False (and nothing started) while earlier work still runs.
    bool start(std::function<void()> work, std::function<void()> done);
    bool isRunning() const { return m_thread != nullptr; }
    // Blocks until the running work and its done are over.
    void wait();
    // Blocks until the running work is over and drops its done (an owner being destroyed).
    void waitWithoutDone();

private:
    QThread *m_thread = nullptr;
    std::function<void()> m_done;
};

} // namespace fenlark
