#include "bench_register.h"

#include "data/db_connection.h"
#include "data/statement.h"
#include "fenlark-db/register_maker.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace fenlark::bench {

const Clock &benchClock()
{
    static const FixedClock clock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
    return clock;
}

QString demoRegister(int households)
{
    const QString folder = QStringLiteral("/tmp/fenlark-bench");
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/%2.mdb").arg(folder).arg(households);
    if (!QFileInfo::exists(path)) {
        // Made under another name first, so an interrupted run leaves no half register behind.
        const QString partial = path + QStringLiteral(".part");
        QFile::remove(partial);
        QString error;
        if (!dbtool::makeDemoRegister(partial, households, error) || !QFile::rename(partial, path))
            qFatal("cannot make the demo register %s: %s", qPrintable(path), qPrintable(error));
    }
    return path;
}

Village firstVillage(const QString &registerPath)
{
    DBConnection connection;
    connection.connectAccess(registerPath, QString());
    Statement query(connection, QStringLiteral("SELECT 单位名称, 直属管辖 FROM 区域管理 WHERE 标识 = 5 ORDER BY rowid "
                                               "LIMIT 1"));
    if (!query.step())
        qFatal("the register %s has no village", qPrintable(registerPath));
    return {query.text(1), query.text(0)};
}

namespace {

double statusMB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

double peakResidentMB()
{
    return statusMB("VmHWM:");
}

double residentMB()
{
    return statusMB("VmRSS:");
}

int runWidgetBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace fenlark::bench
