#pragma once

#include "export/sheet_source.h"

#include <QList>
#include <QStringList>

// A household list as the main window holds it: row 0 the 13 headers, then one row per household.
// In the check-box columns of a household row, "1" stands for a set box and "0" for a clear one;
// such a cell has no text, as in the grid.
class FakeSheetSource final : public fenlark::SheetSource {
public:
    static bool isCheckColumn(int column) { return (column >= 5 && column <= 7) || (column >= 9 && column <= 11); }

    static QStringList header()
    {
        return {QStringLiteral("N"),           QStringLiteral("户主"),     QStringLiteral("身份证"),
                QStringLiteral("所属管辖"),    QStringLiteral("农户属性"), QStringLiteral("计划生育户"),
                QStringLiteral("合作医疗"),    QStringLiteral("养老保险"), QStringLiteral("健康状况"),
                QStringLiteral("违法违纪"),    QStringLiteral("是否残疾"), QStringLiteral("是否党员"),
                QStringLiteral("最后更新时间")};
    }

    explicit FakeSheetSource(QList<QStringList> households = {}) : m_rows{header()} { m_rows << households; }

    const QList<QStringList> &rows() const { return m_rows; }

    int rowCount() const override { return int(m_rows.size()); }
    QString text(int row, int column) const override
    {
        if (row > 0 && isCheckColumn(column))
            return {};
        return m_rows.at(row).at(column);
    }
    bool checked(int row, int column) const override
    {
        return row > 0 && isCheckColumn(column) && m_rows.at(row).at(column) == QStringLiteral("1");
    }

private:
    QList<QStringList> m_rows;
};
