#include "data/schema_check.h"

#include "data/schema.h"

#include <sqlite3.h>

#include <QList>

#include <QPair>
#include <algorithm>

namespace fenlark {

namespace {

struct Column {
    QString name;
    QString type;
};

// The columns of table as declared, in order; empty when there is no such table.
QList<Column> columnsOf(sqlite3 *db, const QString &table)
{
    QList<Column> columns;
    sqlite3_stmt *stmt = nullptr;
    // table_info takes the table name as a bound value through the table-valued function.
    if (sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info(?1)", -1, &stmt, nullptr) != SQLITE_OK)
        return columns;
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        columns.append({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))),
                        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)))});
    }
    sqlite3_finalize(stmt);
    return columns;
}

bool tableExists(sqlite3 *db, const QString &table)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", -1, &stmt, nullptr) !=
        SQLITE_OK)
        return false;
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return found;
}

// The register's own tables, read from the very script that makes new registers, so the two
// never disagree.
const QList<QPair<QString, QList<Column>>> &expectedTables()
{
    static const QList<QPair<QString, QList<Column>>> tables = [] {
        QList<QPair<QString, QList<Column>>> result;
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, schema::createTablesSql().toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK) {
            for (const QString &table : {schema::households::table, schema::regions::table, schema::years::table})
                result.append({table, columnsOf(db, table)});
        }
        sqlite3_close(db);
        return result;
    }();
    return tables;
}

std::vector<SchemaProblem> compare(sqlite3 *db, bool kindsToo)
{
    std::vector<SchemaProblem> problems;
    for (const auto &[table, expected] : expectedTables()) {
        if (!tableExists(db, table)) {
            problems.push_back({SchemaProblem::MissingTable, table, {}, {}, {}});
            continue;
        }
        const QList<Column> found = columnsOf(db, table);
        for (const Column &column : expected) {
            const auto it =
                std::find_if(found.begin(), found.end(), [&](const Column &c) { return c.name == column.name; });
            if (it == found.end())
                problems.push_back({SchemaProblem::MissingColumn, table, column.name, column.type, {}});
            else if (kindsToo && it->type.compare(column.type, Qt::CaseInsensitive) != 0)
                problems.push_back({SchemaProblem::WrongKind, table, column.name, column.type, it->type});
        }
    }
    return problems;
}

} // namespace

QString SchemaProblem::text() const
{
    switch (kind) {
    case MissingTable:
        return QStringLiteral("缺少表 %1").arg(table);
    case MissingColumn:
        return QStringLiteral("%1 缺少列 %2").arg(table, column);
    case WrongKind:
        return QStringLiteral("%1 的列 %2 类型为 %3,应为 %4")
            .arg(table, column, found.isEmpty() ? QStringLiteral("(无)") : found, expected);
    }
    return QString();
}

std::vector<SchemaProblem> schemaProblems(sqlite3 *db)
{
    return compare(db, true);
}

std::vector<SchemaProblem> missingSchemaParts(sqlite3 *db)
{
    return compare(db, false);
}

} // namespace fenlark
