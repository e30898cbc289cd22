#include "data/statistics_index.h"

#include "data/schema.h"

namespace fenlark::statisticsIndex {

namespace {

// Yes when the stored value is a nonzero integer; anything else counts as no here.
QString integerSet(const QString &column)
{
    return QStringLiteral("(typeof(\"%1\") = 'integer' AND \"%1\" <> 0)").arg(column);
}

} // namespace

const QString &flagColumn(int flag)
{
    using namespace schema::households;
    static const QString columns[2 * kPackCount] = {medicalCare, pensionInsurance, disabled,
                                                    partyMember, petitioner,       offence};
    static const QString none;
    return flag >= 0 && flag < 2 * kPackCount ? columns[flag] : none;
}

QString packedFlags(int pack)
{
    if (pack < 0 || pack >= kPackCount)
        return {};
    return QStringLiteral("(%1 | (%2 << %3))")
        .arg(integerSet(flagColumn(2 * pack)), integerSet(flagColumn(2 * pack + 1)), QString::number(kPackShift));
}

QString oddFlagsCondition()
{
    QString condition;
    for (int flag = 0; flag < 2 * kPackCount; ++flag) {
        if (!condition.isEmpty())
            condition += QStringLiteral(" OR ");
        condition += QStringLiteral("typeof(\"%1\") NOT IN ('integer', 'null')").arg(flagColumn(flag));
    }
    return QStringLiteral("(") + condition + QStringLiteral(")");
}

QString createSql()
{
    using namespace schema::households;
    QString sql = QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"%2\" (\"%3\", \"%4\", \"%5\", \"%6\"")
                      .arg(name, table, unit, parentUnit, category, entryYear);
    for (int pack = 0; pack < kPackCount; ++pack)
        sql += QStringLiteral(", ") + packedFlags(pack);
    sql += QStringLiteral(");\n");
    sql += QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"%2\" (\"%3\", \"%4\") WHERE ")
               .arg(oddValuesName, table, unit, entryYear) +
           oddFlagsCondition() + QStringLiteral(";\n");
    return sql;
}

} // namespace fenlark::statisticsIndex
