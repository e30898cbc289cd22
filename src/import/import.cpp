#include "import/import.h"

#include "import/import_mapping.h"

#include "core/pinyin.h"
#include "data/db_connection.h"
#include "data/register_file.h"
#include "data/statement.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <utility>
#include <vector>

namespace fenlark::importer {

namespace {

constexpr qint64 kProgressEvery = 500;

QString rowsText(qint64 n)
{
    return n == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(n);
}

// The source's name for a register table: the same name, or failing that the same but for case
// (Access does not tell names apart by case).
QString findTable(const QStringList &tables, const QString &name)
{
    if (tables.contains(name))
        return name;
    for (const QString &table : tables) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    return QString();
}

// The column names are our schema's own, never read from the file, so they may stand in the SQL.
QString insertSql(const TablePlan &plan)
{
    QStringList names;
    QStringList marks;
    for (const TargetColumn &column : plan.columns) {
        names.append(u'"' + column.name + u'"');
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
        .arg(plan.table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

void bindRow(Statement &insert, const std::vector<SqlValue> &values)
{
    for (size_t i = 0; i < values.size(); ++i) {
        const int index = int(i) + 1;
        if (const auto *integer = std::get_if<qint64>(&values[i]))
            insert.bind(index, *integer);
        else if (const auto *real = std::get_if<double>(&values[i]))
            insert.bind(index, *real);
        else if (const auto *text = std::get_if<QString>(&values[i]))
            insert.bind(index, *text);
        else
            insert.bindNull(index);
    }
}

bool targetIsFree(const QString &newPath, QString &error)
{
    if (newPath.isEmpty()) {
        error = QStringLiteral("no name given for the new register file");
        return false;
    }
    const QFileInfo target(newPath);
    if (target.exists() || target.isSymLink()) {
        error = QStringLiteral("%1 already exists; it is left as it is (choose a new file name)").arg(newPath);
        return false;
    }
    return true;
}

// The name initials (首拼音) another program or an older version stored may differ from what a
// save computes now; recomputed from 户主, so the search finds old and new households alike.
// Returns the number of households, or -1 when a write failed.
qint64 recomputeInitials(DBConnection &connection, QString &error)
{
    std::vector<std::pair<qint64, QString>> initials;
    Statement heads(connection, QStringLiteral("SELECT rowid, \"户主\" FROM \"成员信息\" ORDER BY rowid"));
    while (heads.step())
        initials.emplace_back(heads.int64(0), pinyinInitials(heads.text(1)));
    Statement update(connection, QStringLiteral("UPDATE \"成员信息\" SET \"首拼音\" = ? WHERE rowid = ?"));
    for (const auto &[rowid, text] : initials) {
        update.reset();
        update.bind(1, text).bind(2, rowid);
        if (!update.exec()) {
            error = QStringLiteral("cannot write the name initials of 成员信息: %1")
                        .arg(QString::fromUtf8(sqlite3_errmsg(connection.handle())));
            return -1;
        }
    }
    return heads.hasFailed() ? -1 : qint64(initials.size());
}

} // namespace

bool importRegister(TableSource &source, const QString &sourceDescription, const QString &newPath,
                    const ImportProgress &progress, QString &report, QString &error)
{
    report.clear();
    error.clear();
    if (!targetIsFree(newPath, error))
        return false;

    // Match the three tables and their columns first, so that every problem is told at once.
    const QStringList tables = source.tableNames();
    QList<TablePlan> plans;
    QStringList sourceTables;
    QStringList problems;
    bool tableMissing = false;
    for (const TargetTable &target : registerTables()) {
        const QString found = findTable(tables, target.name);
        if (found.isEmpty()) {
            problems.append(QStringLiteral("table %1 is missing").arg(target.name));
            tableMissing = true;
            continue;
        }
        QList<AccessColumn> columns;
        if (!source.columns(found, columns, error))
            return false;
        TablePlan plan;
        planTable(target, columns, plan, problems);
        plans.append(plan);
        sourceTables.append(found);
    }
    if (tableMissing) {
        problems.append(QStringLiteral("(the tables it holds: %1)")
                            .arg(tables.isEmpty() ? QStringLiteral("none") : tables.join(QStringLiteral(", "))));
    }
    if (!problems.isEmpty()) {
        error = QStringLiteral("%1 cannot be imported as a register:\n  %2")
                    .arg(sourceDescription, problems.join(QStringLiteral("\n  ")));
        return false;
    }

    QStringList notCarried;
    for (const TablePlan &plan : plans) {
        for (const QString &column : plan.extraColumns)
            notCarried.append(QStringLiteral("column %1.%2").arg(plan.table, column));
    }
    for (const QString &table : tables) {
        if (!sourceTables.contains(table)) {
            const qint64 rows = source.rowCount(table);
            notCarried.append(rows < 0 ? QStringLiteral("table %1").arg(table)
                                       : QStringLiteral("table %1 (%2)").arg(table, rowsText(rows)));
        }
    }

    QList<qint64> written;
    qint64 recomputed = 0;
    const RegisterLoad load = [&](DBConnection &connection, QString &loadError) {
        for (qsizetype t = 0; t < plans.size(); ++t) {
            const TablePlan &plan = plans[t];
            Statement insert(connection, insertSql(plan));
            if (!insert.isValid()) {
                loadError = QStringLiteral("cannot write table %1: %2")
                                .arg(plan.table, QString::fromUtf8(sqlite3_errmsg(connection.handle())));
                return false;
            }
            const qint64 total = source.rowCount(sourceTables[t]);
            qint64 done = 0;
            if (progress)
                progress(plan.table, 0, total);
            std::vector<SqlValue> values;
            QString rowError;
            const bool ok = source.readRows(
                sourceTables[t],
                [&](const AccessRow &row) {
                    if (!mapRow(plan, row, values, rowError)) {
                        rowError = QStringLiteral("%1, row %2: %3").arg(plan.table).arg(done + 1).arg(rowError);
                        return false;
                    }
                    insert.reset();
                    bindRow(insert, values);
                    if (!insert.exec()) {
                        rowError = QStringLiteral("%1, row %2 cannot be written: %3")
                                       .arg(plan.table)
                                       .arg(done + 1)
                                       .arg(QString::fromUtf8(sqlite3_errmsg(connection.handle())));
                        return false;
                    }
                    ++done;
                    if (progress && done % kProgressEvery == 0)
                        progress(plan.table, done, total);
                    return true;
                },
                loadError);
            if (!ok) {
                if (!rowError.isEmpty())
                    loadError = rowError;
                return false;
            }
            if (progress && done % kProgressEvery != 0)
                progress(plan.table, done, total);
            written.append(done);
        }
        recomputed = recomputeInitials(connection, loadError);
        return recomputed >= 0;
    };
    // The maker writes under a temporary name and renames only a complete, synced file.
    if (!createRegisterFile(newPath, load, error))
        return false;

    QStringList lines;
    lines.append(QStringLiteral("Imported %1 into %2:").arg(sourceDescription, newPath));
    for (qsizetype t = 0; t < plans.size(); ++t)
        lines.append(QStringLiteral("  %1: %2").arg(plans[t].table, rowsText(written[t])));
    lines.append(
        QStringLiteral("  成员信息.首拼音: recomputed from 户主 for %1")
            .arg(recomputed == 1 ? QStringLiteral("1 household") : QStringLiteral("%1 households").arg(recomputed)));
    if (!notCarried.isEmpty()) {
        lines.append(QStringLiteral("Not carried over (the register has no place for them):"));
        for (const QString &item : notCarried)
            lines.append(QStringLiteral("  ") + item);
    }
    report = lines.join(u'\n');
    return true;
}

bool importAccessRegister(const QString &accessPath, const QString &newPath, const ImportProgress &progress,
                          QString &report, QString &error)
{
    report.clear();
    error.clear();
    if (!targetIsFree(newPath, error))
        return false;
    AccessReader reader;
    if (!reader.open(accessPath, error))
        return false;
    const QString description =
        reader.isJet3() ? QStringLiteral("%1 (%2, texts in code page %3)")
                              .arg(accessPath, reader.formatName(), QString::fromLatin1(reader.jet3Charset()))
                        : QStringLiteral("%1 (%2)").arg(accessPath, reader.formatName());
    return importRegister(reader, description, newPath, progress, report, error);
}

} // namespace fenlark::importer
