#include "maintenance/page/startup_checks.h"

#include "core/clock.h"
#include "maintenance/backups.h"
#include "maintenance/page/background_job.h"
#include "maintenance/register_copy.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace fenlark {

namespace {

struct Outcome {
    QStringList damage;
    QString goodBackup;
    QDateTime goodBackupAt;
    maintenance::DailyBackup backup = maintenance::DailyBackup::AlreadyMade;
    QString backupError;
};

} // namespace

StartupChecks::StartupChecks(Dialogs &dialogs, const Clock &clock, QObject *parent)
    : QObject(parent), m_dialogs(dialogs), m_clock(clock), m_job(new BackgroundJob(this))
{
}

StartupChecks::~StartupChecks()
{
    m_job->waitWithoutDone(); // a program being closed shows no more messages
}

bool StartupChecks::isRunning() const
{
    return m_job->isRunning();
}

void StartupChecks::wait()
{
    m_job->wait();
}

QString StartupChecks::damagedMessage(const QString &registerPath, const QString &problem, const QString &backupPath,
                                      const QString &backupWhen)
{
    QString text = QStringLiteral("数据库文件已损坏!继续使用可能丢失数据。\n\n文件：%1\n问题：%2\n\n")
                       .arg(QDir::toNativeSeparators(registerPath), problem);
    if (backupPath.isEmpty())
        text += QStringLiteral("没有找到完好的备份。请先复制保存这个文件,再联系维护人员。");
    else
        text += QStringLiteral("最近的完好备份：%1(%2)\n恢复方法：在“数据维护”页的备份列表中选中它,点击“从备份恢复”。")
                    .arg(backupWhen, QDir::toNativeSeparators(backupPath));
    return text;
}

QString StartupChecks::backupFailedMessage(const QString &registerPath, const QString &reason)
{
    return QStringLiteral("自动备份没有成功。\n\n数据库：%1\n原因：%2\n\n可在“数据维护”页点击“立即备份”再试。")
        .arg(QDir::toNativeSeparators(registerPath), reason);
}

void StartupChecks::start(const QString &registerPath, QWidget *messageParent)
{
    const QDateTime now = m_clock.now();
    auto outcome = std::make_shared<Outcome>();
    QPointer<QWidget> parent(messageParent);
    m_job->start(
        [registerPath, now, outcome] {
            outcome->damage = maintenance::integrityProblems(registerPath, maintenance::CheckDepth::Quick);
            if (!outcome->damage.isEmpty()) {
                // Backups carry their names only once verified; the newest that still reads
                // soundly is the one to offer.
                for (const maintenance::BackupFile &backup : maintenance::listBackups(registerPath)) {
                    if (maintenance::integrityProblems(backup.path, maintenance::CheckDepth::Quick).isEmpty()) {
                        outcome->goodBackup = backup.path;
                        outcome->goodBackupAt = backup.madeAt;
                        break;
                    }
                }
                return; // a damaged register is not backed up over the good backups
            }
            QString made;
            outcome->backup = maintenance::makeDailyBackup(registerPath, now, made, outcome->backupError);
        },
        [this, registerPath, outcome, parent] {
            if (!outcome->damage.isEmpty()) {
                m_dialogs.message(parent,
                                  damagedMessage(registerPath, outcome->damage.first(), outcome->goodBackup,
                                                 outcome->goodBackupAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                                  MessageIcon::Error);
            } else if (outcome->backup == maintenance::DailyBackup::Failed) {
                m_dialogs.message(parent, backupFailedMessage(registerPath, outcome->backupError), MessageIcon::Error);
            }
            Q_EMIT finished();
        });
}

} // namespace fenlark
