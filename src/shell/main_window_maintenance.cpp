// The main window's side of backups, restore and checks: the maintenance page, the work after
// the first show, the lock on the register, and closing and reopening it around a restore.
#include "shell/main_window.h"

#include "maintenance/page/maintenance_page.h"
#include "maintenance/page/startup_checks.h"
#include "shell/region_list_fill.h"
#include "shell/register_check.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/grid_rows.h"
#include "ui/label.h"
#include "ui/page_control.h"

#include <QCoreApplication>
#include <QDir>
#include <QProgressDialog>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace fenlark {

DBConnection::IndexBuildProgress MainWindow::indexBuildProgressDialog()
{
    // Made on the first call only: a register that has its indexes never sees the dialog. Each
    // step of the build names itself in the dialog and counts from 0 again.
    auto dialog = std::make_shared<std::unique_ptr<QProgressDialog>>();
    return [dialog](int built, int total, const QString &step) {
        if (!*dialog) {
            *dialog = std::make_unique<QProgressDialog>(step, QString(), 0, total);
            (*dialog)->setObjectName(QStringLiteral("索引进度"));
            (*dialog)->setWindowTitle(defaultMessageTitle());
            (*dialog)->setWindowModality(Qt::ApplicationModal);
            (*dialog)->setMinimumDuration(0);
            (*dialog)->show();
        }
        if ((*dialog)->labelText() != step)
            (*dialog)->setLabelText(step);
        if ((*dialog)->maximum() != total)
            (*dialog)->setMaximum(total);
        (*dialog)->setValue(built);
        QCoreApplication::processEvents();
        if (built >= total)
            dialog->reset();
    };
}

bool MainWindow::lockRegister()
{
    using maintenance::RegisterLock;
    const QString path = m_connection.filePath();
    if (m_lock.acquire(path, RegisterLock::Mode::Shared) == RegisterLock::Result::HeldElsewhere) {
        // Only a restore holds the register exclusively; a program that went on now would
        // write into the file that is about to be replaced.
        m_connection.close();
        m_services.dialogs.message(
            this,
            QStringLiteral("数据库正在从备份恢复,请稍后再启动程序。\n\n文件：%1").arg(QDir::toNativeSeparators(path)),
            MessageIcon::Error);
        return false;
    }
    return true; // a file system without locks: go on without
}

void MainWindow::reportDamageOnce()
{
    // Told after the action that met the damage has finished, not from inside its reading.
    m_connection.setDamageHandler([this](const QString &reason) {
        const QString path = m_connection.filePath();
        QTimer::singleShot(0, this, [this, path, reason] {
            m_services.dialogs.message(
                this,
                QStringLiteral("读取数据库时出错,数据库文件可能已损坏,显示的内容可能不完整!\n\n文件：%1\n原因：%2\n\n"
                               "请到“数据维护”页点击“检查数据”,必要时从备份恢复。")
                    .arg(QDir::toNativeSeparators(path), reason),
                MessageIcon::Error);
        });
    });
}

void MainWindow::tellIfReadOnly()
{
    if (m_connection.isReadOnly())
        m_services.dialogs.message(this, readOnlyRegisterMessage(m_connection.filePath()), MessageIcon::Information);
}

// The workers use the register: they end before the window and its connection go.
void MainWindow::stopMaintenanceWork()
{
    delete m_startupChecks;
    m_startupChecks = nullptr;
    delete m_maintenance;
    m_maintenance = nullptr;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The quick check and the day's backup work on a register file; a server keeps its own.
    if (!m_startupChecks && m_connection.isOpen() && !m_connection.isServer())
        QTimer::singleShot(0, this, &MainWindow::startBackgroundChecks);
}

void MainWindow::startBackgroundChecks()
{
    if (m_startupChecks || !m_connection.isOpen() || m_connection.isServer())
        return;
    m_startupChecks = new StartupChecks(m_services.dialogs, m_services.clock, this);
    m_startupChecks->start(m_connection.filePath(), this);
}

void MainWindow::showMaintenancePage()
{
    // Backups, restore and the check work on a register file; a county server is backed up on
    // the server's side.
    if (m_connection.isServer()) {
        m_services.dialogs.message(this,
                                   QStringLiteral("县级服务器上的数据库不在本机,备份请在服务器上进行：\n"
                                                  "  fenlark-db backup 连接串 备份文件或文件夹"),
                                   MessageIcon::Information);
        return;
    }
    if (m_maintenance) {
        m_maintenance->refreshBackups();
        return;
    }
    QWidget *page = m_pages->page(3);
    if (!page)
        return;
    const QString path = m_connection.filePath();
    MaintenanceHost host{[path] { return path; }, [this] { releaseRegister(); }, [this] { return reopenRegister(); }};
    m_maintenance = new MaintenancePage(std::move(host), m_services.dialogs, m_services.clock, page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_maintenance);
    m_maintenance->show();
}

void MainWindow::releaseRegister()
{
    if (m_startupChecks)
        m_startupChecks->wait();
    m_releasedPath = m_connection.filePath();
    m_recordSet.close();
    m_connection.close();
    m_lock.release();
}

// After a restore the program shows the restored register as a fresh start does: the region
// list, the collapsed tree and the years, with no household list until a unit is chosen.
bool MainWindow::reopenRegister()
{
    m_connection.setIndexBuildProgress(indexBuildProgressDialog());
    const bool opened = m_connection.connectAccess(m_releasedPath, QString());
    m_connection.setIndexBuildProgress({});
    if (!opened)
        return false;
    lockRegister();
    m_recordSet.attach(m_connection);
    fillRegionList(m_recordSet, *m_regions);
    emptyGrid(*m_households);
    m_state.currentSelection = Selection();
    m_state.currentPage = 0;
    m_state.pageCount = 0;
    m_state.householdCount = 0;
    m_pageLabel->setCaption(QStringLiteral("所在页："));
    m_pagesLabel->setCaption(QStringLiteral("页面总数："));
    m_countLabel->setCaption(QStringLiteral("总项目数："));
    rebuildTree();
    fillYears();
    return true;
}

} // namespace fenlark
