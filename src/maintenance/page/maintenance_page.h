#pragma once

#include "maintenance/register_check.h"

#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace fenlark {

class BackgroundJob;
class Clock;
class Dialogs;
class EGrid;

// What the page needs of the window that holds the register open.
struct MaintenanceHost {
    std::function<QString()> registerPath; // the register file the program has open
    std::function<void()> releaseRegister; // close every use of it before it is replaced
    std::function<bool()> reopenRegister;  // open it again and reload as at start-up
};

// The page "数据维护": the list of backups (date, time, size, households), "立即备份",
// "从备份恢复" and "检查数据" with a progress bar and the check's findings. Backups and checks
// run on a worker thread; the page only shows their progress and results.
class MaintenancePage : public QWidget {
    Q_OBJECT
public:
    MaintenancePage(MaintenanceHost host, Dialogs &dialogs, const Clock &clock, QWidget *parent = nullptr);
    ~MaintenancePage() override;

    // Re-reads the backup folder; the household counts follow from a worker.
    void refreshBackups();
    void backupNow();
    void restoreChosen();
    void checkNow();

    bool isBusy() const;
    // Waits for any running backup, check or count (tests, and before the register is closed).
    void waitForWork();

    EGrid *backupList() const { return m_list; }
    QListWidget *findingList() const { return m_findings; }
    QLabel *statusLabel() const { return m_status; }
    QProgressBar *progressBar() const { return m_progress; }

private:
    void setButtonsEnabled(bool enabled);
    void showCheckReport(const maintenance::CheckReport &report);
    void countHouseholds(const QStringList &paths);

    MaintenanceHost m_host;
    Dialogs &m_dialogs;
    const Clock &m_clock;
    BackgroundJob *m_job = nullptr;   // backups and checks, one at a time
    BackgroundJob *m_count = nullptr; // the households of the listed backups
    QStringList m_paths;              // backup of each list row, from row 1
    QLabel *m_folder = nullptr;
    EGrid *m_list = nullptr;
    QPushButton *m_backup = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_check = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace fenlark
