#include "statistics/household_counts.h"

#include "data/statement.h"

#include <QHash>

namespace fenlark {

namespace {

constexpr const char16_t *kCategories[kCategoryCount] = {u"扶贫户", u"低保户", u"三无", u"非贫困人口"};

// A yes/no column summed as the record layer reads it: CAST gives the integer value that
// sqlite3_column_int64 gives, so text such as "abc" counts as 0 here too; NULL adds nothing.
QString countSet(const char *column)
{
    // A count of a CASE rather than a sum of the comparison: the server sums no truth values.
    return QStringLiteral("count(CASE WHEN CAST(\"%1\" AS INTEGER) <> 0 THEN 1 END)").arg(QString::fromUtf8(column));
}

} // namespace

QString categoryName(int category)
{
    if (category < 0 || category >= kCategoryCount)
        return {};
    return QString::fromUtf16(kCategories[category]);
}

int categoryIndex(const QString &text)
{
    for (int i = 0; i < kCategoryCount; ++i) {
        if (text == QString::fromUtf16(kCategories[i]))
            return i;
    }
    return -1;
}

CategoryCounts &CategoryCounts::operator+=(const CategoryCounts &other)
{
    for (int i = 0; i < kCategoryCount; ++i)
        categories[std::size_t(i)] += other.categories[std::size_t(i)];
    households += other.households;
    medicalCare += other.medicalCare;
    pensionInsurance += other.pensionInsurance;
    disabled += other.disabled;
    partyMember += other.partyMember;
    petitioner += other.petitioner;
    offence += other.offence;
    return *this;
}

QStringList countColumnHeaders()
{
    QStringList headers;
    for (int i = 0; i < kCategoryCount; ++i)
        headers << categoryName(i);
    headers << QStringLiteral("总户数") << QStringLiteral("合作医疗") << QStringLiteral("养老保险")
            << QStringLiteral("是否残疾") << QStringLiteral("是否党员") << QStringLiteral("是否上访户")
            << QStringLiteral("是否违法");
    return headers;
}

qint64 countColumnValue(const CategoryCounts &counts, int column)
{
    if (column >= 0 && column < kCategoryCount)
        return counts.categories[std::size_t(column)];
    switch (column) {
    case 4:
        return counts.households;
    case 5:
        return counts.medicalCare;
    case 6:
        return counts.pensionInsurance;
    case 7:
        return counts.disabled;
    case 8:
        return counts.partyMember;
    case 9:
        return counts.petitioner;
    case 10:
        return counts.offence;
    default:
        return 0;
    }
}

std::vector<HouseholdGroup> countHouseholdGroups(DBConnection &connection, std::optional<int> year)
{
    // Grouped in the order of the statistics index, so the store streams the groups out of the
    // index without sorting and without touching the table's rows.
    QString sql = QStringLiteral("SELECT \"所属管辖\", \"上级管辖\", \"农户属性\", count(*), ") +
                  countSet("是否合作医疗") + QStringLiteral(", ") + countSet("是否养老保险") + QStringLiteral(", ") +
                  countSet("是否残疾") + QStringLiteral(", ") + countSet("是否党员") + QStringLiteral(", ") +
                  countSet("是否上访户") + QStringLiteral(", ") + countSet("是否违法") +
                  QStringLiteral(" FROM \"成员信息\"");
    if (year) {
        sql += *year == 0 ? QStringLiteral(" WHERE (\"录入年份\" = 0 OR \"录入年份\" IS NULL)")
                          : QStringLiteral(" WHERE \"录入年份\" = ?");
    }
    sql += QStringLiteral(" GROUP BY \"所属管辖\", \"上级管辖\", \"农户属性\"");

    Statement query(connection, sql);
    if (year && *year != 0)
        query.bind(1, *year);

    // NULL and "" are one unit to the program; the store groups them apart, so they meet here.
    std::vector<HouseholdGroup> groups;
    QHash<QString, std::size_t> byKey;
    while (query.step()) {
        const QString unit = query.text(0);
        const QString parent = query.text(1);
        const QString key = unit + QChar(0) + parent;
        auto found = byKey.constFind(key);
        std::size_t at;
        if (found == byKey.constEnd()) {
            at = groups.size();
            byKey.insert(key, at);
            groups.push_back({unit, parent, {}});
        } else {
            at = found.value();
        }
        CategoryCounts counts;
        const qint64 households = query.int64(3);
        counts.households = households;
        const int category = categoryIndex(query.text(2));
        if (category >= 0)
            counts.categories[std::size_t(category)] = households;
        counts.medicalCare = query.int64(4);
        counts.pensionInsurance = query.int64(5);
        counts.disabled = query.int64(6);
        counts.partyMember = query.int64(7);
        counts.petitioner = query.int64(8);
        counts.offence = query.int64(9);
        groups[at].counts += counts;
    }
    return groups;
}

} // namespace fenlark
