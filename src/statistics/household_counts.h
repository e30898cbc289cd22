#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace fenlark {

class DBConnection;

// The four values of 农户属性, in the order the statistics show them.
inline constexpr int kCategoryCount = 4;
QString categoryName(int category);     // 0 扶贫户, 1 低保户, 2 三无, 3 非贫困人口; "" otherwise
int categoryIndex(const QString &text); // -1 for any other text (a NULL reads as "")

// Households counted by category, and how many of them have each yes/no attribute. A household
// whose 农户属性 is none of the four texts counts in `households` only, so the total never loses
// one; the categories then sum to less than the total.
struct CategoryCounts {
    std::array<qint64, kCategoryCount> categories{};
    qint64 households = 0;
    qint64 medicalCare = 0;      // 是否合作医疗
    qint64 pensionInsurance = 0; // 是否养老保险
    qint64 disabled = 0;         // 是否残疾
    qint64 partyMember = 0;      // 是否党员
    qint64 petitioner = 0;       // 是否上访户
    qint64 offence = 0;          // 是否违法

    CategoryCounts &operator+=(const CategoryCounts &other);
    bool isEmpty() const { return households == 0; }
    friend bool operator==(const CategoryCounts &, const CategoryCounts &) = default;
};

// The statistics table's count columns, in order, after the unit column.
inline constexpr int kCountColumnCount = 11;
QStringList countColumnHeaders();
// The value of count column `column` (0 to 10) of counts.
qint64 countColumnValue(const CategoryCounts &counts, int column);

// The households of one (所属管辖, 上级管辖) pair, as the store holds them.
struct HouseholdGroup {
    QString unit;   // 所属管辖 ("" for NULL)
    QString parent; // 上级管辖 ("" for NULL)
    CategoryCounts counts;
};

// Counts the households of one entry year (none: every year) grouped by 所属管辖 and 上级管辖, in
// one pass of the store over its statistics index. A yes/no column counts as set when the record
// layer reads it as yes (a nonzero integer, 1.5, 'TRUE'; not NULL, 0.5 or 'abc'), as the
// household form would show it. A NULL year reads as 0. Empty when the store cannot be read.
std::vector<HouseholdGroup> countHouseholdGroups(DBConnection &connection, std::optional<int> year);

} // namespace fenlark
