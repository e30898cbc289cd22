// backup, restore and check: the maintenance operations of the program, from the command line.
#include "commands.h"

#include "cards/card_holders.h"
#include "data/db_connection.h"
#include "data/member_card_index.h"
#include "maintenance/backups.h"
#include "maintenance/register_check.h"
#include "maintenance/register_copy.h"
#include "maintenance/restore.h"
#include "maintenance/server_backup.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace fenlark::dbtool {

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fflush(to);
}

// Opening an older register builds what it lacks, the member-card index of a million households
// taking about a minute: each step is said on stderr as it starts and every tenth of the way.
DBConnection::IndexBuildProgress indexProgressPrinter(const QString &command)
{
    return [command, said = QString(), tenths = -1](int built, int total, const QString &step) mutable {
        const int now = total > 0 ? built * 10 / total : 10;
        if (step == said && now == tenths)
            return;
        said = step;
        tenths = now;
        print(stderr, QStringLiteral("%1: %2 %3%\n").arg(command, step).arg(now * 10));
    };
}

bool plainArguments(const QStringList &args, qsizetype least, qsizetype most)
{
    if (args.size() < least || args.size() > most)
        return false;
    for (const QString &arg : args) {
        if (arg.isEmpty() || arg.startsWith(u'-'))
            return false;
    }
    return true;
}

} // namespace

int runBackup(const QStringList &args)
{
    if (!plainArguments(args, 1, 2)) {
        print(stderr, QStringLiteral("usage: fenlark-db backup REGISTER [DEST]\n"));
        return 2;
    }
    const QString &source = args.at(0);
    const QDateTime now = QDateTime::currentDateTime();
    QString made;
    QString error;
    bool ok = false;
    if (maintenance::isServerConnection(source)) {
        // A county register on a server: pg_dump writes it; there is no folder beside it.
        if (args.size() == 1) {
            print(stderr, QStringLiteral("usage: fenlark-db backup URI DEST (a server needs a DEST)\n"));
            return 2;
        }
        if (!maintenance::backupServer(source, args.at(1), now, made, error)) {
            print(stderr, QStringLiteral("fenlark-db backup: %1\n").arg(error));
            return 1;
        }
        print(stdout,
              QStringLiteral("backed up the server register to %1 (pg_dump, table of contents read back)\n").arg(made));
        return 0;
    }
    if (args.size() == 1) {
        ok = maintenance::makeBackup(source, now, made, error);
    } else {
        // A folder gets a backup named as the program names them; anything else is the new file.
        made = QFileInfo(args.at(1)).isDir()
                   ? QDir(args.at(1)).filePath(QFileInfo(maintenance::backupPathFor(source, now)).fileName())
                   : args.at(1);
        ok = maintenance::copyRegister(source, made, false, error);
    }
    if (!ok) {
        print(stderr, QStringLiteral("fenlark-db backup: %1\n").arg(error));
        return 1;
    }
    print(stdout, QStringLiteral("backed up %1 to %2 (checked: sound)\n").arg(source, made));
    return 0;
}

int runRestore(const QStringList &args)
{
    if (!plainArguments(args, 2, 2)) {
        print(stderr, QStringLiteral("usage: fenlark-db restore BACKUP REGISTER\n"));
        return 2;
    }
    maintenance::RestoreResult result;
    QString error;
    if (!maintenance::restoreRegister(args.at(0), args.at(1), QDateTime::currentDateTime(), result, error)) {
        print(stderr, QStringLiteral("fenlark-db restore: %1\n").arg(error));
        return 1;
    }
    QString text = QStringLiteral("restored %1 from %2\n").arg(args.at(1), args.at(0));
    if (!result.keptPath.isEmpty()) {
        text += result.keptDamaged ? QStringLiteral("the replaced register was damaged; its bytes are kept as %1\n")
                                   : QStringLiteral("the replaced register is kept as the backup %1\n");
        text = text.arg(result.keptPath);
    }
    print(stdout, text);
    return 0;
}

int runCheck(const QStringList &given)
{
    // --repair rebuilds the member-card index from the households before checking, for a
    // register that another tool wrote to without keeping the index.
    QStringList args = given;
    const bool repair = args.removeAll(QStringLiteral("--repair")) > 0;
    if (!plainArguments(args, 1, 1)) {
        print(stderr, QStringLiteral("usage: fenlark-db check REGISTER [--repair]\n"));
        return 2;
    }
    const maintenance::CheckReport report = maintenance::checkRegister(args.at(0));
    if (!report.readable) {
        print(stderr, QStringLiteral("fenlark-db check: %1: %2\n").arg(args.at(0), report.reason));
        return 2;
    }
    QString text;
    for (const maintenance::Finding &finding : report.findings)
        text += finding.text + u'\n';
    int problems = report.problemCount;

    // The cards: every card failing its own checks and every card held twice in one year.
    DBConnection connection;
    connection.setIndexBuildProgress(indexProgressPrinter(QStringLiteral("fenlark-db check")));
    if (!connection.connectAccess(args.at(0), QString())) {
        print(stderr, QStringLiteral("fenlark-db check: %1: %2\n").arg(args.at(0), connection.errorText()));
        return 2;
    }
    if (repair) {
        if (!rebuildMemberCardIndex(connection)) {
            print(stderr, QStringLiteral("fenlark-db check: %1: 成员身份证索引重建失败\n").arg(args.at(0)));
            return 2;
        }
        print(stdout, QStringLiteral("%1: 成员身份证索引已重建\n").arg(args.at(0)));
    }
    for (const CardFinding &finding : cardFindings(connection, QDate::currentDate())) {
        text += describeFinding(finding) + u'\n';
        ++problems;
    }
    if (problems == 0) {
        print(stdout, QStringLiteral("%1: no problems found\n").arg(args.at(0)));
        return 0;
    }
    text += QStringLiteral("%1: %2 problem(s) found\n").arg(args.at(0)).arg(problems);
    print(stdout, text);
    return 1;
}

} // namespace fenlark::dbtool
