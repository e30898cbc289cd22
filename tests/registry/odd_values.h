#pragma once

// Households whose columns hold what no save of this program writes but an imported, repaired or
// hand-edited register may: BLOBs and bytes that are not UTF-8 in text columns, words and
// fractions in yes/no columns, dates in a looser form, fractional and unreadable entry years.
// The SQL versions of the list, the search and the query must read them as the record layer does.

#include "data/db_connection.h"
#include "data/statement.h"

#include <QString>
#include <QStringList>

// A server register's columns are typed: a word or a fraction cannot be stored in a yes/no
// column, nor a BLOB in a text one, so there the odd values cannot occur and the fixtures go
// without them. This is the one place that decides it.
inline bool oddValuesStorable(const fenlark::DBConnection &connection)
{
    return !connection.isServer();
}

// How many households addOddHouseholds adds on this connection's register.
inline int oddHouseholdCount(const fenlark::DBConnection &connection)
{
    return oddValuesStorable(connection) ? 7 : 0;
}

inline bool addOddHouseholds(fenlark::DBConnection &connection, const QString &unit, const QString &parent)
{
    if (!oddValuesStorable(connection))
        return true;
    // 录入年份, 是否计划生育, 是否合作医疗, 是否养老保险, 是否违法, 是否残疾, 是否党员, 是否上访户,
    // 录入时间, 标签, 健康状况 as SQL literals (test data, not typed text); 户主 and 户主信息 from the row number.
    const char *const rows[][11] = {
        {"2025.5", "'TRUE'", "'abc'", "0.5", "1.5", "-0.7", "'yes'", "'TRUE'", "'2025/3/1 8:05'", "X'E4B8AD'",
         "'健康'"},
        {"2024.9", "'FALSE'", "' on '", "-1.5", "'0.9'", "X'01'", "'OFF'", "0.99", "'2024-1-2 3:04:05'",
         "CAST(X'E4B8ADFF2CE5858B' AS TEXT)", "X'01'"},
        {"'　2025'", "'2'", "'1e0'", "'x1'", "NULL", "''", "' '", "'-0.2'", "'abc'", "X''", "X''"},
        {"'abc'", "1", "0", "1", "0", "1", "0", "1", "X'01'", "CAST(X'FF' AS TEXT)", "NULL"},
        {"-0.5", "0", "1", "0", "1", "0", "1", "0", "'2025/3/1'", "X'FF'", "''"},
        {"3000000000", "1", "1", "1", "1", "1", "1", "1", "45000.75", "CAST(X'FE' AS TEXT)", "CAST(X'FF' AS TEXT)"},
        {"2026.0", "'true'", "'No'", "2.5", "-3", "'1.0'", "'0x1'", "'Yes'", "'2026-13-01 00:00:00'",
         "CAST(X'E585BB2CFF' AS TEXT)", "'健康'"},
    };
    int n = 0;
    for (const auto &row : rows) {
        ++n;
        QStringList v;
        for (const char *value : row)
            v << QString::fromUtf8(value);
        const QString sql =
            QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 户主, 户主信息, 首拼音, 农户属性, "
                           "录入年份, 是否计划生育, 是否合作医疗, 是否养老保险, 是否违法, 是否残疾, 是否党员, "
                           "是否上访户, 录入时间, 标签, 健康状况) VALUES (?, ?, ?, ?, 'gy', '低保户', %1)")
                .arg(v.join(QStringLiteral(", ")));
        fenlark::Statement insert(connection, sql);
        insert.bind(1, unit).bind(2, parent);
        insert.bind(3, QStringLiteral("怪%1").arg(n)).bind(4, QStringLiteral("怪%1-男-GY%1-小学").arg(n));
        if (!insert.exec())
            return false;
    }
    return true;
}
