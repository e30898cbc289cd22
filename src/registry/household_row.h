#pragma once

#include "ui/grid_rows.h"

#include <QString>

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
};

// Writes cells 1 to 12 of an existing data row (check cells as check boxes).
void writeHouseholdRow(EGrid &list, int row, const HouseholdListRow &values);
// Appends a data row numbered n with the values.
void appendHouseholdRow(EGrid &list, int n, const HouseholdListRow &values);

} // namespace fenlark
