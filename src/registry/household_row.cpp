#include "registry/household_row.h"

#include "ui/egrid.h"

namespace fenlark {

void writeHouseholdRow(EGrid &list, int row, const HouseholdListRow &values)
{
    list.setCell(row, 1, EGrid::TextCell, values.headName);
    list.setCell(row, 2, EGrid::TextCell, values.headCard);
    list.setCell(row, 3, EGrid::TextCell, values.unit);
    list.setCell(row, 4, EGrid::TextCell, values.category);
    list.setCell(row, 5, EGrid::CheckCell, values.familyPlanning);
    list.setCell(row, 6, EGrid::CheckCell, values.medicalCare);
    list.setCell(row, 7, EGrid::CheckCell, values.pensionInsurance);
    list.setCell(row, 8, EGrid::TextCell, values.health);
    list.setCell(row, 9, EGrid::CheckCell, values.offence);
    list.setCell(row, 10, EGrid::CheckCell, values.disabled);
    list.setCell(row, 11, EGrid::CheckCell, values.partyMember);
    list.setCell(row, 12, EGrid::TextCell, values.savedAt);
    list.setRowData(row, values.entryYear ? QVariant(*values.entryYear) : QVariant());
}

std::optional<int> listedEntryYear(const EGrid &list, int row)
{
    const QVariant year = list.rowData(row);
    if (!year.isValid())
        return std::nullopt;
    return year.toInt();
}

void appendHouseholdRow(EGrid &list, int n, const HouseholdListRow &values)
{
    list.insertRow();
    const int row = list.rowCount() - 1;
    list.setCell(row, 0, EGrid::TextCell, QString::number(n));
    writeHouseholdRow(list, row, values);
}

} // namespace fenlark
