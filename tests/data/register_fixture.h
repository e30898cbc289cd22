#pragma once

#include "support/test_server_schema.h"

#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "data/statement.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A register with the program's three tables, opened on its own connection, plus the few raw
// helpers the record-layer tests seed and check with. By default a file in a fresh temporary
// folder; with FENLARK_TEST_ENGINE=postgresql a fresh schema on the server named by
// FENLARK_TEST_PG (tests/support/pg_cluster.sh), dropped again at the end, so one test binary
// runs its cases on both engines.
class RegisterFixture {
public:
    static bool onServer() { return qgetenv("FENLARK_TEST_ENGINE") == "postgresql"; }

    // extraSql: tables of the test's own; serverSql: the same on the server, where the
    // declared types differ (empty: extraSql serves both).
    explicit RegisterFixture(const QString &extraSql = QString(), const QString &serverSql = QString())
    {
        if (onServer()) {
            openOnServer(serverSql.isEmpty() ? extraSql : serverSql);
            return;
        }
        m_path = m_dir.filePath(QStringLiteral("data.mdb"));
        // An empty file is an empty SQLite database; the connection never creates one itself.
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.close();
        // Tests commit often; waiting for the disk each time only makes them slow.
        m_ready = m_connection.connectAccess(m_path, QString()) &&
                  fenlark::execScript(m_connection, QStringLiteral("PRAGMA synchronous = OFF")) &&
                  fenlark::execScript(m_connection, fenlark::schema::createTablesSql() + extraSql) &&
                  fenlark::execScript(m_connection, fenlark::schema::createIndexesSql());
    }

    ~RegisterFixture()
    {
        if (!m_schema.isEmpty()) {
            fenlark::execScript(m_connection, QStringLiteral("ROLLBACK"));
            fenlark::execScript(m_connection, QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
        }
    }

    bool isReady() const { return m_ready; }
    // Why the fixture could not be made at all (the server tests without a server): the
    // test then skips with this reason instead of failing.
    QString skipReason() const { return m_skipReason; }
    fenlark::DBConnection &connection() { return m_connection; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    bool exec(const QString &sql) { return fenlark::execScript(m_connection, sql); }

    void addRegion(int level, const QString &name, const QString &parent = QString())
    {
        fenlark::Statement insert(
            m_connection, QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, ?, ?, ?)"));
        insert.bind(1, level).bind(2, QStringLiteral("级")).bind(3, name).bind(4, parent);
        insert.exec();
    }

    void addHousehold(int year, const QString &head, const QString &unit = QStringLiteral("一村"))
    {
        fenlark::Statement insert(m_connection,
                                  QStringLiteral("INSERT INTO 成员信息 (录入年份, 户主, 所属管辖) VALUES (?, ?, ?)"));
        insert.bind(1, year).bind(2, head).bind(3, unit);
        insert.exec();
    }

    qint64 count(const QString &table, const QString &where = QStringLiteral("1 = 1"))
    {
        fenlark::Statement query(m_connection,
                                 QStringLiteral("SELECT count(*) FROM ") + table + QStringLiteral(" WHERE ") + where);
        return query.step() ? query.int64(0) : -1;
    }

    QString storedText(const QString &sql)
    {
        fenlark::Statement query(m_connection, sql);
        return query.step() ? query.text(0) : QStringLiteral("<none>");
    }

    // Opens another connection on the same register, as a second clerk's program would.
    bool connectAgain(fenlark::DBConnection &other)
    {
        if (m_schema.isEmpty())
            return other.connectAccess(m_path, QString());
        return other.connectServer(QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"))) &&
               fenlark::execScript(other, QStringLiteral("SET search_path TO ") + m_schema);
    }

    // The value of column in the table's first row the way SQLite's quote() writes it (NULL, 42,
    // 1.0, 'text', X'00FF'), so a case can say what was stored, storage class included. The
    // server's value is written the same way from the class it comes back with.
    QString quoted(const QString &column, const QString &table)
    {
        if (!onServer())
            return storedText(QStringLiteral("SELECT quote(") + column + QStringLiteral(") FROM ") + table);
        fenlark::Statement query(m_connection, QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ") + table);
        if (!query.step())
            return QStringLiteral("<none>");
        const fenlark::FieldValue value = query.value(0);
        switch (value.type) {
        case fenlark::FieldValue::Type::Null:
            return QStringLiteral("NULL");
        case fenlark::FieldValue::Type::Integer:
            return QString::number(value.integer);
        case fenlark::FieldValue::Type::Real: {
            QString text = QString::number(value.real, 'g', 15);
            if (!text.contains(u'.') && !text.contains(u'e') && !text.contains(QLatin1String("n")))
                text += QStringLiteral(".0");
            return text;
        }
        case fenlark::FieldValue::Type::Text:
            return u'\'' + value.text().replace(u'\'', QStringLiteral("''")) + u'\'';
        case fenlark::FieldValue::Type::Blob:
            return QStringLiteral("X'") + QString::fromLatin1(value.bytes.toHex().toUpper()) + u'\'';
        }
        return QString();
    }

private:
    void openOnServer(const QString &extraSql)
    {
        m_ready = openTestServerSchema(m_connection, QStringLiteral("t"), m_schema, m_skipReason, extraSql);
    }

    QTemporaryDir m_dir;
    QString m_schema;
    QString m_skipReason;
    QString m_path;
    fenlark::DBConnection m_connection;
    bool m_ready = false;
};

// In a test's init(): skips when the fixture has no engine to run on, else requires it ready.
#define REQUIRE_REGISTER(store)                                                                                        \
    do {                                                                                                               \
        if (!(store)->skipReason().isEmpty())                                                                          \
            QSKIP(qPrintable((store)->skipReason()));                                                                  \
        QVERIFY((store)->isReady());                                                                                   \
    } while (false)

// A case about SQLite's own ways (its storage classes, its file): not run on the server.
#define SQLITE_ONLY(why)                                                                                               \
    do {                                                                                                               \
        if (RegisterFixture::onServer())                                                                               \
            QSKIP("SQLite only: " why);                                                                                \
    } while (false)

// Rows of a data table about SQLite's own kinds: not run on the server.
#define SQLITE_ONLY_ROWS(...)                                                                                          \
    do {                                                                                                               \
        for (const char *tag : {__VA_ARGS__}) {                                                                        \
            if (RegisterFixture::onServer() && qstrcmp(QTest::currentDataTag(), tag) == 0)                             \
                QSKIP("SQLite only: a kind the server register has no column of");                                     \
        }                                                                                                              \
    } while (false)

// The texts of one column, walked the program's way from the first row to the end.
inline QStringList walkColumn(fenlark::RecordSet &set, const QString &column)
{
    QStringList values;
    set.moveFirst();
    while (!set.isAtEnd()) {
        QString value;
        set.readText(column, value);
        values << value;
        set.moveNext();
    }
    return values;
}

// The text of a column in the current row, or "<end>" when no row is current.
inline QString current(fenlark::RecordSet &set, const QString &column)
{
    if (set.isAtEnd())
        return QStringLiteral("<end>");
    QString value;
    return set.readText(column, value) ? value : QStringLiteral("<unreadable>");
}
