#pragma once

#include "support/test_server_schema.h"

// A fresh register file in a temporary folder, open on one connection, for the tests of the
// list, tree and year operations.

#include "data/db_connection.h"
#include "data/register_file.h"
#include "data/server_schema.h"
#include "data/statement.h"

#include <QCoreApplication>

#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <memory>

//
// With FENLARK_TEST_ENGINE=postgresql the register is a fresh schema on the server named by
// FENLARK_TEST_PG instead (tests/support/pg_cluster.sh), dropped at the end; without a server
// skipReason() says why the test cannot run.
class TestRegister {
public:
    TestRegister()
    {
        if (qgetenv("FENLARK_TEST_ENGINE") == "postgresql") {
            openOnServer();
            return;
        }
        QString error;
        m_ok = m_dir.isValid() && fenlark::createRegisterFile(path(), error) &&
               m_connection.connectAccess(path(), QString());
    }

    ~TestRegister()
    {
        if (!m_schema.isEmpty())
            fenlark::execScript(m_connection, QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }

    QString skipReason() const { return m_skipReason; }

    bool ok() const { return m_ok; }
    QString path() const { return m_dir.filePath(QStringLiteral("data.mdb")); }
    fenlark::DBConnection &connection() { return m_connection; }

    // Runs one statement with the values bound in order (an invalid QVariant binds NULL).
    bool run(const QString &sql, const QVariantList &values = {})
    {
        fenlark::Statement statement(m_connection, sql);
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &value = values.at(i);
            if (!value.isValid())
                statement.bindNull(i + 1);
            else if (value.typeId() == QMetaType::QString)
                statement.bind(i + 1, value.toString());
            else if (value.typeId() == QMetaType::Double)
                statement.bind(i + 1, value.toDouble());
            else
                statement.bind(i + 1, value.toLongLong());
        }
        return statement.exec();
    }

    bool addUnit(int level, const QString &name, const QString &parent)
    {
        return run(QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, '', ?, ?)"),
                   {level, name, parent});
    }
    bool addYear(int year) { return run(QStringLiteral("INSERT INTO 年份管理 (年份) VALUES (?)"), {year}); }

private:
    void openOnServer() { m_ok = openTestServerSchema(m_connection, QStringLiteral("r"), m_schema, m_skipReason); }

    QString m_schema;
    QString m_skipReason;
    QTemporaryDir m_dir;
    fenlark::DBConnection m_connection;
    bool m_ok = false;
};

// Skips when the register has no engine to run on (the server tests without a server), else
// requires it made.
#define REQUIRE_TEST_REGISTER(store)                                                                                   \
    do {                                                                                                               \
        if (!(store).skipReason().isEmpty())                                                                           \
            QSKIP(qPrintable((store).skipReason()));                                                                   \
        QVERIFY((store).ok());                                                                                         \
    } while (false)
