#include "maintenance/page/maintenance_page.h"

#include "core/clock.h"
#include "maintenance/backups.h"
#include "maintenance/page/background_job.h"
#include "maintenance/register_copy.h"
#include "maintenance/restore.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/grid_rows.h"

#include <QDir>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace fenlark {

namespace {

constexpr const char16_t *kHeads[4] = {u"日期", u"时间", u"大小", u"户数"};
constexpr int kWidths[4] = {110, 90, 100, 100};

QString sizeText(qint64 bytes)
{
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(qMax<qint64>(1, (bytes + 1023) / 1024));
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

MaintenancePage::MaintenancePage(MaintenanceHost host, Dialogs &dialogs, const Clock &clock, QWidget *parent)
    : QWidget(parent), m_host(std::move(host)), m_dialogs(dialogs), m_clock(clock)
{
    setObjectName(QStringLiteral("数据维护页"));
    m_job = new BackgroundJob(this);
    m_count = new BackgroundJob(this);

    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("标签_备份位置"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_list = new EGrid(this);
    m_list->setObjectName(QStringLiteral("高级表格_备份"));
    m_list->setRowSelection(true);
    m_list->setColumnCount(4);
    for (int c = 0; c < 4; ++c) {
        m_list->setCell(0, c, EGrid::TextCell, QString::fromUtf16(kHeads[c]));
        m_list->setColumnWidth(c, kWidths[c]);
    }
    m_backup = button(QStringLiteral("立即备份"), QStringLiteral("按钮_立即备份"), this);
    m_restore = button(QStringLiteral("从备份恢复"), QStringLiteral("按钮_从备份恢复"), this);
    m_check = button(QStringLiteral("检查数据"), QStringLiteral("按钮_检查数据"), this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("进度条_检查"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("标签_检查结果"));
    m_findings = new QListWidget(this);
    m_findings->setObjectName(QStringLiteral("列表_检查结果"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_backup);
    buttons->addWidget(m_restore);
    buttons->addWidget(m_check);
    buttons->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(m_folder);
    left->addWidget(m_list, 1);
    left->addLayout(buttons);
    auto *right = new QVBoxLayout;
    right->addWidget(m_progress);
    right->addWidget(m_status);
    right->addWidget(m_findings, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    connect(m_backup, &QPushButton::clicked, this, &MaintenancePage::backupNow);
    connect(m_restore, &QPushButton::clicked, this, &MaintenancePage::restoreChosen);
    connect(m_check, &QPushButton::clicked, this, &MaintenancePage::checkNow);
    refreshBackups();
}

MaintenancePage::~MaintenancePage()
{
    m_job->waitWithoutDone();
    m_count->waitWithoutDone();
}

bool MaintenancePage::isBusy() const
{
    return m_job->isRunning() || m_count->isRunning();
}

void MaintenancePage::waitForWork()
{
    m_job->wait();
    m_count->wait();
}

void MaintenancePage::setButtonsEnabled(bool enabled)
{
    m_backup->setEnabled(enabled);
    m_restore->setEnabled(enabled);
    m_check->setEnabled(enabled);
}

void MaintenancePage::refreshBackups()
{
    const QString registerPath = m_host.registerPath();
    m_folder->setText(QStringLiteral("备份位置：") + QDir::toNativeSeparators(maintenance::backupFolder(registerPath)));
    emptyGrid(*m_list);
    m_paths.clear();
    const QList<maintenance::BackupFile> backups = maintenance::listBackups(registerPath);
    for (const maintenance::BackupFile &backup : backups) {
        const int row = m_list->rowCount();
        m_list->insertRow();
        m_list->setCell(row, 0, EGrid::TextCell, backup.madeAt.toString(QStringLiteral("yyyy-MM-dd")));
        m_list->setCell(row, 1, EGrid::TextCell, backup.madeAt.toString(QStringLiteral("HH:mm:ss")));
        m_list->setCell(row, 2, EGrid::TextCell, sizeText(backup.size));
        m_list->setCell(row, 3, EGrid::TextCell, QStringLiteral("…"));
        m_paths.append(backup.path);
    }
    countHouseholds(m_paths);
}

// Counting a large backup takes a moment each: the list shows at once, the counts follow.
void MaintenancePage::countHouseholds(const QStringList &paths)
{
    m_count->wait(); // an older count would write into the new rows
    if (paths.isEmpty())
        return;
    QPointer<MaintenancePage> self(this);
    auto counts = std::make_shared<QList<qint64>>();
    m_count->start(
        [paths, counts] {
            for (const QString &path : paths)
                counts->append(maintenance::householdCount(path));
        },
        [this, paths, counts] {
            if (m_paths != paths)
                return;
            for (qsizetype i = 0; i < counts->size(); ++i) {
                const qint64 n = counts->at(i);
                m_list->setCell(int(i) + 1, 3, EGrid::TextCell,
                                n < 0 ? QStringLiteral("无法读取") : QString::number(n));
            }
        });
}

void MaintenancePage::backupNow()
{
    if (m_job->isRunning())
        return;
    const QString registerPath = m_host.registerPath();
    const QDateTime now = m_clock.now();
    auto made = std::make_shared<QString>();
    auto error = std::make_shared<QString>();
    auto ok = std::make_shared<bool>(false);
    setButtonsEnabled(false);
    m_progress->setRange(0, 0);
    m_status->setText(QStringLiteral("正在备份……"));
    m_job->start(
        [=] { *ok = maintenance::makeBackup(registerPath, now, *made, *error); },
        [=, this] {
            m_progress->setRange(0, 100);
            m_progress->setValue(*ok ? 100 : 0);
            setButtonsEnabled(true);
            refreshBackups();
            if (*ok) {
                m_status->setText(QStringLiteral("备份完成"));
                m_dialogs.message(this, QStringLiteral("  备份完成！\n\n%1").arg(QDir::toNativeSeparators(*made)),
                                  MessageIcon::None);
            } else {
                m_status->setText(QStringLiteral("备份失败"));
                m_dialogs.message(this, QStringLiteral("备份失败!\n\n原因：%1").arg(*error), MessageIcon::Error);
            }
        });
}

void MaintenancePage::restoreChosen()
{
    if (isBusy())
        waitForWork();
    const int row = m_list->cursorRow();
    if (row < 1 || row > m_paths.size()) {
        m_dialogs.message(this, QStringLiteral("请先在备份列表中选择一个备份。"), MessageIcon::Error);
        return;
    }
    const QString backup = m_paths.at(row - 1);
    const QString when = m_list->cellText(row, 0) + u' ' + m_list->cellText(row, 1);
    if (!m_dialogs.askYesNo(this,
                            QStringLiteral("确定要用 %1 的备份恢复数据吗？\n\n恢复后,此后录入和修改的数据将不再存在;"
                                           "恢复前,当前的数据会先另存为一个备份。")
                                .arg(when),
                            MessageIcon::Question, defaultMessageTitle(), DefaultAnswer::No))
        return;

    const QString registerPath = m_host.registerPath();
    const QDateTime now = m_clock.now();
    maintenance::RestoreResult result;
    QString error;
    bool ok = false;
    // The register is closed while it is replaced: the window below takes no input meanwhile.
    QProgressDialog waiting(QStringLiteral("正在恢复,请稍候……"), QString(), 0, 0, window());
    waiting.setWindowModality(Qt::ApplicationModal);
    waiting.setMinimumDuration(0);
    waiting.show();
    setButtonsEnabled(false);
    m_host.releaseRegister();
    QEventLoop loop;
    m_job->start([&] { ok = maintenance::restoreRegister(backup, registerPath, now, result, error); },
                 [&loop] { loop.quit(); });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    const bool reopened = m_host.reopenRegister();
    waiting.close();
    setButtonsEnabled(true);
    refreshBackups();
    if (!ok) {
        m_dialogs.message(this, QStringLiteral("恢复失败!\n\n%1\n\n当前数据没有改变。").arg(error), MessageIcon::Error);
        return;
    }
    QString text = QStringLiteral("  恢复完成！\n\n已恢复 %1 的备份。\n原来的数据已另存为：%2")
                       .arg(when, QDir::toNativeSeparators(result.keptPath));
    if (!reopened)
        text += QStringLiteral("\n\n但恢复后的数据库无法打开,请重新启动程序。");
    m_dialogs.message(this, text, reopened ? MessageIcon::None : MessageIcon::Error);
}

void MaintenancePage::checkNow()
{
    if (m_job->isRunning())
        return;
    const QString registerPath = m_host.registerPath();
    auto report = std::make_shared<maintenance::CheckReport>();
    QPointer<QProgressBar> bar(m_progress);
    setButtonsEnabled(false);
    m_findings->clear();
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("正在检查……"));
    m_job->start(
        [registerPath, report, bar, this] {
            *report = maintenance::checkRegister(registerPath, [bar, this](int percent) {
                QMetaObject::invokeMethod(
                    this,
                    [bar, percent] {
                        if (bar)
                            bar->setValue(percent);
                    },
                    Qt::QueuedConnection);
            });
        },
        [report, this] {
            setButtonsEnabled(true);
            showCheckReport(*report);
        });
}

void MaintenancePage::showCheckReport(const maintenance::CheckReport &report)
{
    m_progress->setValue(100);
    m_findings->clear();
    if (!report.readable) {
        m_status->setText(QStringLiteral("无法读取数据库文件：%1").arg(report.reason));
        return;
    }
    for (const maintenance::Finding &finding : report.findings)
        m_findings->addItem(finding.text);
    const qint64 problems = report.problemCount;
    m_status->setText(problems == 0 ? QStringLiteral("检查完成：未发现问题")
                                    : QStringLiteral("检查完成：发现 %1 个问题").arg(problems));
}

} // namespace fenlark
