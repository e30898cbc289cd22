#pragma once

class QWidget;

namespace fenlark {

class Dialogs;
class ExcelApplication;
class ExcelWorkbook;
class SheetSource;

// Copies the household list, header row included, into a new workbook as the sheet "贫农明细表"
// (title over A1:M1, one bordered, centred row per list row, "√"/"×" for the check-box
// columns, the title row tall enough for its 24-point font) and shows it in the spreadsheet
// program. Without a spreadsheet program it says so and does nothing else; a workbook that could
// not be written is reported and not shown.
void exportPoorHouseholdSheet(const SheetSource &list, ExcelApplication &app, ExcelWorkbook &book, Dialogs &dialogs,
                              QWidget *parent);

} // namespace fenlark
