#pragma once

#include "core/text_table.h"
#include "registry/household_row.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace fenlark {

class Clock;
class DBConnection;

// The query window's criteria; a criterion that is switched off is empty and passes.
struct HouseholdCriteria {
    std::optional<QString> unit; // empty optional: every unit ("全部")
    // With a unit, also its parent: a village name that repeats across townships is queried
    // under the chosen one only (上级管辖 equal, NULL read as "").
    std::optional<QString> parentUnit;
    std::optional<bool> familyPlanning;
    std::optional<bool> medicalCare;
    std::optional<bool> pensionInsurance;
    std::optional<QString> health;
    std::optional<bool> offence;
    std::optional<bool> disabled;
    std::optional<bool> petitioner;
    std::optional<bool> partyMember;
    std::optional<QString> keyword; // an empty keyword passes; else one ","-part of 标签 must equal it
};

// Every household of every unit and year that passes all criteria, in the table's stored
// order; column 1 shows 户主, column 2 the card number of 户主信息.
std::vector<HouseholdListRow> selectByCriteria(DBConnection &connection, const HouseholdCriteria &criteria,
                                               const Clock &clock);

// The same households as selectByCriteria, as the rowids of their rows in the same order: what a
// list of any length keeps, its cells read by a QueryRowReader when they are shown.
std::vector<qint64> selectIdsByCriteria(DBConnection &connection, const HouseholdCriteria &criteria);

// The distinct 标签 texts, whole, in the order they first occur (the empty text included).
QStringList distinctKeywordTexts(DBConnection &connection);
// The same texts held in one table: what the query window's keyword box keeps.
TextTable keywordTextTable(DBConnection &connection);

} // namespace fenlark
