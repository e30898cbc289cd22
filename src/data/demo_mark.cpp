#include "data/demo_mark.h"

#include "data/db_connection.h"
#include "data/statement.h"

namespace fenlark {

bool markAsDemoRegister(DBConnection &connection)
{
    Transaction transaction(connection);
    if (!transaction.isActive())
        return false;
    if (!execScript(connection, QStringLiteral("CREATE TABLE IF NOT EXISTS \"演示数据\" (\"说明\" TEXT)")))
        return false;
    Statement insert(connection, QStringLiteral("INSERT INTO \"演示数据\" (\"说明\") VALUES (?1)"));
    insert.bind(1, QStringLiteral("本文件由 fenlark-db demo 生成，其中的农户均为虚构，仅供演示。"));
    return insert.exec() && transaction.commit();
}

bool isDemoRegister(DBConnection &connection)
{
    if (!connection.isOpen())
        return false;
    Statement query(connection, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1"));
    query.bind(1, QStringLiteral("演示数据"));
    return query.step();
}

} // namespace fenlark
