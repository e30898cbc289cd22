#include "data/statistics_index.h"

#include "data/schema.h"

namespace fenlark::statisticsIndex {

namespace {

// The value a flag adds to its pack: weight when the stored value is a nonzero integer, 0 for
// anything else. CASE and + rather than SQLite's bit operators, so a server register (whose
// yes/no columns are integers, not booleans) can hold the same index.
QString weighted(const QString &column, const QString &weight)
{
    return QStringLiteral("CASE WHEN typeof(\"%1\") = 'integer' AND \"%1\" <> 0 THEN %2 ELSE 0 END")
        .arg(column, weight);
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
    return QStringLiteral("(%1 + %2)")
        .arg(weighted(flagColumn(2 * pack), QStringLiteral("1")),
             weighted(flagColumn(2 * pack + 1), QString::number(qint64(1) << kPackShift)));
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
