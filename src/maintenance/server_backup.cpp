#include "maintenance/server_backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace fenlark::maintenance {

namespace {

// Debian's wrapper in the PATH first, else the newest server's own copy.
QString postgresProgram(const QString &name)
{
    const QString inPath = QStandardPaths::findExecutable(name);
    if (!inPath.isEmpty())
        return inPath;
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString program = QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(*it, name);
        if (QFileInfo(program).isExecutable())
            return program;
    }
    return QString();
}

bool run(const QString &program, const QStringList &arguments, QString &output, QString &error)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(-1)) {
        error = QStringLiteral("%1 无法运行：%2").arg(QFileInfo(program).fileName(), process.errorString());
        return false;
    }
    output = QString::fromUtf8(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QString::fromUtf8(process.readAllStandardError()).trimmed();
        if (error.isEmpty())
            error = QStringLiteral("%1 失败(退出码 %2)").arg(QFileInfo(program).fileName()).arg(process.exitCode());
        return false;
    }
    return true;
}

} // namespace

bool isServerConnection(const QString &text)
{
    return text.startsWith(QLatin1String("postgres://")) || text.startsWith(QLatin1String("postgresql://")) ||
           (text.contains(u'=') && !QFileInfo::exists(text));
}

bool backupServer(const QString &connection, const QString &dest, const QDateTime &at, QString &made, QString &error)
{
    const QString dump = postgresProgram(QStringLiteral("pg_dump"));
    const QString restore = postgresProgram(QStringLiteral("pg_restore"));
    if (dump.isEmpty() || restore.isEmpty()) {
        error = QStringLiteral("没有找到 pg_dump(请安装 postgresql-client)");
        return false;
    }
    made = QFileInfo(dest).isDir()
               ? QDir(dest).filePath(at.toString(QStringLiteral("'fenlark-server-'yyyyMMdd-HHmmss'.dump'")))
               : dest;
    if (QFileInfo::exists(made)) {
        error = QStringLiteral("目标文件已存在：%1").arg(made);
        return false;
    }
    const QString temporary = made + QStringLiteral(".part");
    QString output;
    const bool dumped = run(dump,
                            {QStringLiteral("--format=custom"), QStringLiteral("--file"), temporary,
                             QStringLiteral("--dbname"), connection},
                            output, error) &&
                        run(restore, {QStringLiteral("--list"), temporary}, output, error);
    if (!dumped || !QFile::rename(temporary, made)) {
        if (dumped)
            error = QStringLiteral("无法写入 %1").arg(made);
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace fenlark::maintenance
