#include "statistics/household_counts.h"

#include "data/db_connection.h"
#include "data/field_value.h"
#include "data/statement.h"
#include "data/statistics_index.h"

#include <QHash>

namespace fenlark {

namespace {

constexpr quint64 kLowMask = (quint64(1) << statisticsIndex::kPackShift) - 1;
static_assert(statisticsIndex::kPackCount == 3, "the packs hold the six yes/no columns two by two");

constexpr const char16_t *kCategories[kCategoryCount] = {u"扶贫户", u"低保户", u"三无", u"非贫困人口"};

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
    // Grouped in the order of the statistics index and summing its packed yes/no expressions, so
    // the store streams the groups out of the index without sorting, without touching the
    // table's rows and without casting a value per household.
    QString yearCondition;
    if (year) {
        yearCondition = *year == 0 ? QStringLiteral("(\"录入年份\" = 0 OR \"录入年份\" IS NULL)")
                                   : QStringLiteral("\"录入年份\" = ?");
    }
    QString sql = QStringLiteral("SELECT \"所属管辖\", \"上级管辖\", \"农户属性\", count(*)");
    for (int pack = 0; pack < statisticsIndex::kPackCount; ++pack)
        sql += QStringLiteral(", sum(") + statisticsIndex::packedFlags(pack) + QStringLiteral(")");
    sql += QStringLiteral(" FROM \"成员信息\"");
    if (year)
        sql += QStringLiteral(" WHERE ") + yearCondition;
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
        // Each pack is the sum of (low flag + high flag * 2^shift) over the group.
        qint64 *const low[] = {&counts.medicalCare, &counts.disabled, &counts.petitioner};
        qint64 *const high[] = {&counts.pensionInsurance, &counts.partyMember, &counts.offence};
        for (int pack = 0; pack < statisticsIndex::kPackCount; ++pack) {
            const quint64 sum = quint64(query.int64(4 + pack));
            *low[pack] = qint64(sum & kLowMask);
            *high[pack] = qint64(sum >> statisticsIndex::kPackShift);
        }
        groups[at].counts += counts;
    }

    // The few households holding a yes/no value that is not an integer, through the partial
    // index: the packs counted each such value as no, so add the ones the record layer reads as yes.
    QString oddSql = QStringLiteral("SELECT \"所属管辖\", \"上级管辖\"");
    for (int flag = 0; flag < 2 * statisticsIndex::kPackCount; ++flag)
        oddSql += QStringLiteral(", \"%1\"").arg(statisticsIndex::flagColumn(flag));
    // Named, since the store cannot know how few rows the partial index holds and would rather
    // read the whole table; a register opened read-only from before the index goes without it.
    oddSql += QStringLiteral(" FROM \"成员信息\"");
    if (indexExists(connection, statisticsIndex::oddValuesName))
        oddSql += QStringLiteral(" INDEXED BY \"%1\"").arg(statisticsIndex::oddValuesName);
    oddSql += QStringLiteral(" WHERE ") + statisticsIndex::oddFlagsCondition();
    if (year)
        oddSql += QStringLiteral(" AND ") + yearCondition;
    Statement odd(connection, oddSql);
    if (year && *year != 0)
        odd.bind(1, *year);
    while (odd.step()) {
        auto found = byKey.constFind(odd.text(0) + QChar(0) + odd.text(1));
        if (found == byKey.constEnd())
            continue;
        CategoryCounts &counts = groups[found.value()].counts;
        qint64 *const flags[] = {&counts.medicalCare, &counts.pensionInsurance, &counts.disabled,
                                 &counts.partyMember, &counts.petitioner,       &counts.offence};
        for (int flag = 0; flag < 2 * statisticsIndex::kPackCount; ++flag) {
            const FieldValue value = odd.value(2 + flag);
            if (value.type != FieldValue::Type::Integer && boolOf(value).value_or(false))
                ++*flags[flag];
        }
    }
    return groups;
}

} // namespace fenlark
