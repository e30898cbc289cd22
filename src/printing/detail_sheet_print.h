#pragma once

#include "printing/table_print.h"

class QWidget;

namespace fenlark {

class PrintService;
class SheetSource;

// The household list as the detail sheet lays it out: the title "贫农明细表", the list's 13
// header texts, then one row per data row of the list with "√"/"×" in the check-box columns,
// columns as wide as the sheet's.
PrintTable detailSheetTable(const SheetSource &list);

// "打印" of the household page: the detail sheet of the rows in the list, landscape, through
// the print service. False when nothing was printed.
bool printDetailSheet(const SheetSource &list, PrintService &printer, QWidget *parent);

} // namespace fenlark
