#pragma once

// A fresh register file in a temporary folder, open on one connection, for the tests of the
// list, tree and year operations.

#include "data/db_connection.h"
#include "data/register_file.h"
#include "data/statement.h"

#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <memory>

class TestRegister {
public:
    TestRegister()
    {
        QString error;
        m_ok = m_dir.isValid() && fenlark::createRegisterFile(path(), error) &&
               m_connection.connectAccess(path(), QString());
    }

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
    QTemporaryDir m_dir;
    fenlark::DBConnection m_connection;
    bool m_ok = false;
};
