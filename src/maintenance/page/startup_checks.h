#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace fenlark {

class BackgroundJob;
class Clock;
class Dialogs;

// The work done after the main window shows, on a worker thread with its own connection so
// the window never waits: PRAGMA quick_check of the register, then the day's backup. A
// damaged register gets a warning naming the newest good backup (and no backup of it is
// taken); a failed backup is told once with its reason.
class StartupChecks : public QObject {
    Q_OBJECT
public:
    StartupChecks(Dialogs &dialogs, const Clock &clock, QObject *parent = nullptr);
    ~StartupChecks() override;

    void start(const QString &registerPath, QWidget *messageParent);
    bool isRunning() const;
    // Waits for the work and shows what it found (tests; and before the register is closed).
    void wait();

    static QString damagedMessage(const QString &registerPath, const QString &problem, const QString &backupPath,
                                  const QString &backupWhen);
    static QString backupFailedMessage(const QString &registerPath, const QString &reason);

Q_SIGNALS:
    void finished();

private:
    Dialogs &m_dialogs;
    const Clock &m_clock;
    BackgroundJob *m_job = nullptr;
};

} // namespace fenlark
