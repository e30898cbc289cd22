#pragma once

class QWidget;

namespace fenlark {

class Dialogs;
class ExcelApplication;
class SheetSource;

// Lists longer than this many households show a progress window with 取消 while they are
// written; shorter ones are written before such a window could be read.
inline constexpr int kExportProgressRows = 2000;

// The "导出" of the household list: writes the list, header row included, as the sheet
// "贫农明细表" (title over A1:M1, one bordered, centred row per list row, "√"/"×" for the
// check-box columns) into a new file in the application's export folder, row by row in constant
// memory, and shows it in the spreadsheet program. Without a spreadsheet program it says so and
// does nothing else. A long list shows its progress and can be stopped with 取消, which leaves no
// file; a workbook that could not be written is reported, leaves no file and is not shown.
void exportPoorHouseholdSheet(const SheetSource &list, ExcelApplication &app, Dialogs &dialogs, QWidget *parent);

} // namespace fenlark
