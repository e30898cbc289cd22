#include "data/server_setup.h"

#include "data/db_connection.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "data/statement.h"
#include "data/statistics_index.h"

#include <utility>
#include <vector>

namespace fenlark {

QString serverRoles::township(qint64 key)
{
    return QStringLiteral("fenlark_town_%1").arg(key);
}

namespace {

// Whether the session may write a row of this unit under this parent: the county and the
// administrator everywhere, a township's clerks under their own township only.
const char kMayWrite[] = R"SQL(
CREATE OR REPLACE FUNCTION fenlark_may_write(unit text, parent text) RETURNS boolean
LANGUAGE sql STABLE AS $f$
  SELECT pg_has_role(session_user, 'fenlark_county', 'member')
      OR EXISTS (SELECT 1 FROM "乡镇角色" AS r
                 WHERE pg_has_role(session_user, r."角色", 'member')
                   AND (r."乡镇" = parent OR r."乡镇" = unit))
$f$;
)SQL";

// The same rule as a trigger, for the old row of a change or deletion and for the new row,
// with words a clerk understands (the policies alone would refuse silently or in English).
const char kGuard[] = R"SQL(
CREATE OR REPLACE FUNCTION fenlark_guard_township() RETURNS trigger LANGUAGE plpgsql AS $f$
DECLARE
  unit_column text := TG_ARGV[0];
  parent_column text := TG_ARGV[1];
  r record;
BEGIN
  FOR r IN SELECT * FROM (VALUES (CASE WHEN TG_OP <> 'INSERT' THEN to_jsonb(OLD) END),
                                 (CASE WHEN TG_OP <> 'DELETE' THEN to_jsonb(NEW) END)) AS v(j)
           WHERE j IS NOT NULL LOOP
    IF NOT fenlark_may_write(r.j ->> unit_column, r.j ->> parent_column) THEN
      RAISE EXCEPTION '%', format('%s 不属于本乡镇,只有县级或 %s 所在乡镇的录入员可以添加、修改或删除',
                                  coalesce(r.j ->> unit_column, ''), coalesce(r.j ->> parent_column, ''))
        USING ERRCODE = '42501';
    END IF;
  END LOOP;
  RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
END
$f$;
)SQL";

// The policies decide what a row may become; which rows may be changed or deleted at all the
// guard trigger decides, on the old row: a policy's USING would only hide another township's
// rows from the statement, so a refused change would pass for "no such household".
QString policiesSql(const QString &table, const QString &unit, const QString &parent)
{
    const QString t = quoteIdentifier(table);
    const QString check =
        QStringLiteral("fenlark_may_write(%1, %2)").arg(quoteIdentifier(unit), quoteIdentifier(parent));
    return QStringLiteral("ALTER TABLE %1 ENABLE ROW LEVEL SECURITY;\n"
                          "DROP POLICY IF EXISTS fenlark_read ON %1;\n"
                          "DROP POLICY IF EXISTS fenlark_add ON %1;\n"
                          "DROP POLICY IF EXISTS fenlark_change ON %1;\n"
                          "DROP POLICY IF EXISTS fenlark_remove ON %1;\n"
                          "CREATE POLICY fenlark_read ON %1 FOR SELECT USING (true);\n"
                          "CREATE POLICY fenlark_add ON %1 FOR INSERT WITH CHECK (%2);\n"
                          "CREATE POLICY fenlark_change ON %1 FOR UPDATE USING (true) WITH CHECK (%2);\n"
                          "CREATE POLICY fenlark_remove ON %1 FOR DELETE USING (true);\n"
                          "DROP TRIGGER IF EXISTS fenlark_guard ON %1;\n"
                          "CREATE TRIGGER fenlark_guard BEFORE INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW "
                          "EXECUTE FUNCTION fenlark_guard_township('%3', '%4');\n")
        .arg(t, check, unit, parent);
}

QString createRoleSql(const QString &role)
{
    return QStringLiteral("DO $r$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                          "CREATE ROLE %1 NOLOGIN; END IF; END $r$;\n")
        .arg(role);
}

QString grantsSql(const QString &role)
{
    QString sql =
        QStringLiteral("DO $g$ BEGIN EXECUTE format('GRANT USAGE ON SCHEMA %I TO %2', current_schema()); END $g$;\n")
            .arg(role);
    for (const QString &table : {schema::households::table, schema::regions::table, schema::years::table})
        sql += QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO %2;\n").arg(quoteIdentifier(table), role);
    sql += QStringLiteral("GRANT SELECT ON %1 TO %2;\n").arg(quoteIdentifier(serverRoles::table), role);
    sql += QStringLiteral("DO $g$ BEGIN EXECUTE format('GRANT USAGE ON ALL SEQUENCES IN SCHEMA %I TO %2', "
                          "current_schema()); END $g$;\n")
               .arg(role);
    return sql;
}

bool tableExists(DBConnection &connection, const QString &table)
{
    Statement probe(connection, QStringLiteral("SELECT to_regclass(?) IS NOT NULL"));
    probe.bind(1, quoteIdentifier(table));
    return probe.step() && probe.int64(0) != 0;
}

// A register made while typeof was one general function on the server answered 'text' for a
// yes/no value (its type is a domain), so the statistics counted none of them. It gets the
// function of each type, then the statistics indexes again on the expressions the counts ask.
bool bringTypeofUpToDate(DBConnection &connection)
{
    {
        Statement probe(connection, QStringLiteral("SELECT to_regprocedure('fenlark_typeof(yesno)') IS NULL"));
        if (!probe.step())
            return false;
        if (probe.int64(0) == 0)
            return true;
    }
    return execScript(connection, schema::typeofFunctionsSql() +
                                      QStringLiteral("DROP INDEX IF EXISTS \"%1\", \"%2\";\n")
                                          .arg(statisticsIndex::name, statisticsIndex::oddValuesName) +
                                      statisticsIndex::createSql());
}

} // namespace

bool initServerRegister(DBConnection &connection, ServerInitReport &report, QString &error)
{
    report = {};
    const auto fail = [&] {
        error = connection.errorText();
        return false;
    };
    if (!connection.isServer()) {
        error = QStringLiteral("不是服务器上的登记库");
        return false;
    }
    Transaction transaction(connection);
    if (!transaction.isActive())
        return fail();
    if (!tableExists(connection, schema::households::table)) {
        if (!execScript(connection, schema::createServerTablesSql()))
            return fail();
        report.tablesMade = true;
    } else if (!bringTypeofUpToDate(connection)) {
        return fail();
    }
    if (!execScript(connection, QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"角色\" name PRIMARY KEY, "
                                               "\"乡镇\" text COLLATE \"C\" NOT NULL);\n")
                                    .arg(quoteIdentifier(serverRoles::table))) ||
        !execScript(connection, createRoleSql(serverRoles::county)))
        return fail();

    std::vector<std::pair<qint64, QString>> townships;
    {
        Statement query(connection, QStringLiteral("SELECT rowid, \"单位名称\" FROM \"区域管理\" WHERE \"标识\" = 4 "
                                                   "ORDER BY rowid"));
        while (query.step())
            townships.emplace_back(query.int64(0), query.text(1));
        if (query.hasFailed())
            return fail();
    }
    QStringList roles{serverRoles::county};
    for (const auto &[key, name] : townships) {
        const QString role = serverRoles::township(key);
        Statement remember(connection,
                           QStringLiteral("INSERT INTO \"乡镇角色\" (\"角色\", \"乡镇\") VALUES (?, ?) "
                                          "ON CONFLICT (\"角色\") DO UPDATE SET \"乡镇\" = excluded.\"乡镇\""));
        remember.bind(1, role).bind(2, name);
        if (!execScript(connection, createRoleSql(role)) || !remember.exec())
            return fail();
        roles << role;
        report.townships << name;
    }
    if (!execScript(connection, QString::fromUtf8(kMayWrite)) || !execScript(connection, QString::fromUtf8(kGuard)) ||
        !execScript(connection,
                    policiesSql(schema::households::table, schema::households::unit, schema::households::parentUnit)) ||
        !execScript(connection, policiesSql(schema::regions::table, schema::regions::name, schema::regions::parent)))
        return fail();
    for (const QString &role : roles) {
        if (!execScript(connection, grantsSql(role)))
            return fail();
    }
    if (!transaction.commit())
        return fail();
    return true;
}

} // namespace fenlark
