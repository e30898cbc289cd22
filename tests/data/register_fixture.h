#pragma once

#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A register file with the program's three tables in a fresh temporary folder, opened on its
// own connection, plus the few raw helpers the record-layer tests seed and check with.
class RegisterFixture {
public:
    explicit RegisterFixture(const QString &extraSql = QString())
    {
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

    bool isReady() const { return m_ready; }
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

    qint64 count(const QString &table, const QString &where = QStringLiteral("1"))
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

private:
    QTemporaryDir m_dir;
    QString m_path;
    fenlark::DBConnection m_connection;
    bool m_ready = false;
};

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
