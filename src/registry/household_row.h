#pragma once

#include "ui/grid_rows.h"

#include <QString>

#include <optional>

namespace fenlark {

class EGrid;

// What one row of the household list shows (columns 1 to 12); column 0 is its running number.
struct HouseholdListRow {
    QString headName;              // 1
    QString headCard;              // 2
    QString unit;                  // 3
    QString category;              // 4
    bool familyPlanning = false;   // 5
    bool medicalCare = false;      // 6
    bool pensionInsurance = false; // 7
    QString health;                // 8
    bool offence = false;          // 9
    bool disabled = false;         // 10
    bool partyMember = false;      // 11
    QString savedAt;               // 12, already formatted
    // Not shown: the household's own 录入年份, kept with the row so the row finds its record
    // again whichever year the list shows ("全部" lists several).
    std::optional<int> entryYear;
};

// Writes cells 1 to 12 of an existing data row (check cells as check boxes).
void writeHouseholdRow(EGrid &list, int row, const HouseholdListRow &values);
// The entry year kept with a data row by writeHouseholdRow; nothing when the row has none.
std::optional<int> listedEntryYear(const EGrid &list, int row);
// Appends a data row numbered n with the values.
void appendHouseholdRow(EGrid &list, int n, const HouseholdListRow &values);

} // namespace fenlark
