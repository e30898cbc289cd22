#pragma once

class QWidget;

namespace fenlark {

class Dialogs;
class ExcelApplication;
class ExcelWorkbook;
class SheetSource;

// The detail sheet built through the spreadsheet objects, call by call as the export is laid out
// (a range, a value, a width, an alignment, a border for every cell), in memory and saved in one
// go: the reference the streamed export (poor_household_export.h) is held to, cell by cell.
// Copies the household list, header row included, into a new workbook as the sheet "贫农明细表"
// (title over A1:M1, one bordered, centred row per list row, "√"/"×" for the check-box
// columns, the title row tall enough for its 24-point font) and shows it in the spreadsheet
// program. Without a spreadsheet program it says so and does nothing else; a workbook that could
// not be written is reported and not shown.
void walkPoorHouseholdSheet(const SheetSource &list, ExcelApplication &app, ExcelWorkbook &book, Dialogs &dialogs,
                            QWidget *parent);

} // namespace fenlark
