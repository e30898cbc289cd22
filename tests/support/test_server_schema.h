#pragma once

// A fresh schema on the test cluster (FENLARK_TEST_PG, started by tests/support/pg_cluster.sh),
// made as a county's register is made, for the fixtures whose tests run again on a server.
#include "data/db_connection.h"
#include "data/server_schema.h"
#include "data/statement.h"

#include <QCoreApplication>

// Connects and makes the schema prefix<pid>_<n> with the register's tables, then extraSql, and
// works in it. Without a server: false, with skipReason saying so. The caller drops schema.
inline bool openTestServerSchema(fenlark::DBConnection &connection, const QString &prefix, QString &schema,
                                 QString &skipReason, const QString &extraSql = QString())
{
    const QString server = QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"));
    if (server.isEmpty()) {
        skipReason = QStringLiteral("no PostgreSQL server: FENLARK_TEST_PG is not set "
                                    "(ctest starts one with tests/support/pg_cluster.sh)");
        return false;
    }
    static int made = 0;
    schema = prefix + QStringLiteral("%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    const bool ready = connection.connectServer(server) &&
                       fenlark::execScript(connection, QStringLiteral("CREATE SCHEMA ") + schema +
                                                           QStringLiteral("; SET search_path TO ") + schema) &&
                       fenlark::execScript(connection, fenlark::schema::createServerTablesSql() + extraSql);
    if (!ready)
        qWarning("server register not made: %s %s", qPrintable(connection.openFailureReason()),
                 qPrintable(connection.errorText()));
    return ready;
}
