#include "data/keyword_catalogue.h"

#include "data/db_connection.h"
#include "data/schema.h"
#include "data/statement.h"

#include <array>

namespace fenlark {

namespace {

// The triggers, by name. Each compares with IS, so NULL is a value like any other, byte for
// byte (COLLATE BINARY, whatever collation a hand-made file declares), and under the column's
// own text affinity on both sides, so a value matches exactly what the fill's GROUP BY puts in
// its group: a BLOB never equals a text of the same bytes.
//
// No constraint is declared on the catalogue: a stale catalogue must never make a household's
// save fail, so the triggers only ever look up, add and correct.
const std::array<const char *, 3> kTriggerNames = {"标签汇总_添加", "标签汇总_删除", "标签汇总_修改"};

// A household's value is in the catalogue afterwards, with this household as its first row when
// it comes before the one recorded.
const char kAdded[] = "INSERT INTO \"标签汇总\" (\"标签\", \"首户\") SELECT new.\"标签\", new.rowid WHERE NOT EXISTS "
                      "(SELECT 1 FROM \"标签汇总\" AS c WHERE c.\"标签\" IS new.\"标签\" COLLATE BINARY);\n"
                      "UPDATE \"标签汇总\" SET \"首户\" = new.rowid WHERE \"标签\" IS new.\"标签\" COLLATE BINARY AND "
                      "\"首户\" > new.rowid;\n";

// A household's value gone: when it was the first row, the next household holding the value is
// found on the 标签 index (the trigger runs after the change, so the household is no longer
// among them); when there is none, the value leaves the catalogue.
const char kRemoved[] =
    "UPDATE \"标签汇总\" SET \"首户\" = (SELECT min(h.rowid) FROM \"成员信息\" AS h WHERE h.\"标签\" IS "
    "old.\"标签\" COLLATE BINARY) WHERE \"标签\" IS old.\"标签\" COLLATE BINARY AND \"首户\" = old.rowid;\n"
    "DELETE FROM \"标签汇总\" WHERE \"标签\" IS old.\"标签\" COLLATE BINARY AND \"首户\" IS NULL;\n";

QString createSql()
{
    const QString added = QString::fromUtf8(kAdded);
    const QString removed = QString::fromUtf8(kRemoved);
    return QStringLiteral("CREATE TABLE \"标签汇总\" (\"标签\" TEXT, \"首户\" INTEGER);\n"
                          "CREATE INDEX \"标签汇总_标签\" ON \"标签汇总\" (\"标签\");\n"
                          // The list reads the values in first-row order from this index alone.
                          "CREATE INDEX \"标签汇总_首户\" ON \"标签汇总\" (\"首户\", \"标签\");\n"
                          "CREATE TRIGGER \"标签汇总_添加\" AFTER INSERT ON \"成员信息\" BEGIN\n") +
           added + QStringLiteral("END;\nCREATE TRIGGER \"标签汇总_删除\" AFTER DELETE ON \"成员信息\" BEGIN\n") +
           removed +
           QStringLiteral("END;\nCREATE TRIGGER \"标签汇总_修改\" AFTER UPDATE OF \"标签\" ON \"成员信息\" "
                          "WHEN old.\"标签\" IS NOT new.\"标签\" COLLATE BINARY BEGIN\n") +
           removed + added + QStringLiteral("END;\n");
}

QString dropSql()
{
    QString sql = QStringLiteral("DROP TABLE IF EXISTS \"标签汇总\";\n");
    for (const char *name : kTriggerNames)
        sql += QStringLiteral("DROP TRIGGER IF EXISTS %1;\n").arg(quoteIdentifier(QString::fromUtf8(name)));
    return sql;
}

// SQLite's rule for a column's affinity from its declared type: text when it names CHAR, CLOB
// or TEXT and not INT.
bool textAffinity(const QString &declared)
{
    const QString type = declared.toUpper();
    return !type.contains(QLatin1String("INT")) &&
           (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
            type.contains(QLatin1String("TEXT")));
}

// True when the households' table exists and its 标签 is a text column: then the catalogue,
// whose 标签 is TEXT too, stores every value exactly as the households hold it. A hand-made
// file with another type would store numbers that compare otherwise; it goes without.
bool keywordsAreText(DBConnection &connection)
{
    Statement columns(connection, QStringLiteral("SELECT type FROM pragma_table_info(?1) WHERE name = ?2"));
    columns.bind(1, schema::households::table).bind(2, schema::households::keywords);
    return columns.step() && textAffinity(columns.text(0));
}

} // namespace

namespace keywordCatalogue {
QString orderedSql()
{
    return QStringLiteral("SELECT \"标签\", \"首户\", typeof(\"标签\") = 'text' FROM \"标签汇总\" ORDER BY \"首户\"");
}
} // namespace keywordCatalogue

bool keywordCatalogueReady(DBConnection &connection)
{
    if (connection.isServer() || !connection.handle())
        return false;
    Statement present(connection, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE (type = 'table' AND "
                                                 "name = ?1) OR (type = 'trigger' AND name IN (?2, ?3, ?4))"));
    present.bind(1, keywordCatalogue::table);
    for (int i = 0; i < int(kTriggerNames.size()); ++i)
        present.bind(i + 2, QString::fromUtf8(kTriggerNames[size_t(i)]));
    return present.step() && present.int64(0) == 1 + qint64(kTriggerNames.size());
}

bool ensureKeywordCatalogue(DBConnection &connection)
{
    if (connection.isServer() || !connection.handle())
        return false;
    if (keywordCatalogueReady(connection))
        return true;
    if (connection.isReadOnly() || !keywordsAreText(connection))
        return false;
    Transaction transaction(connection);
    if (!transaction.isActive() || !execScript(connection, dropSql()) || !execScript(connection, createSql()))
        return false;
    // The first row of each stored value, grouped by exactly the comparison the triggers use.
    connection.reportIndexBuild(0, 1, DBConnection::indexStepText());
    connection.watchIndexBuild(true);
    const bool filled = execScript(connection, QStringLiteral("INSERT INTO \"标签汇总\" (\"标签\", \"首户\") "
                                                              "SELECT \"标签\", min(rowid) FROM \"成员信息\" "
                                                              "GROUP BY \"标签\" COLLATE BINARY;"));
    connection.watchIndexBuild(false);
    connection.reportIndexBuild(1, 1, DBConnection::indexStepText());
    return filled && transaction.commit();
}

} // namespace fenlark
