#include "printing/detail_sheet_print.h"

#include "export/detail_sheet_columns.h"

#include "export/sheet_source.h"
#include "printing/print_service.h"

#include <algorithm>
#include <array>

namespace fenlark {

namespace {

constexpr const auto &kColumns = kDetailSheetColumns;

} // namespace

PrintTable detailSheetTable(const SheetSource &list)
{
    PrintTable table;
    table.title = QStringLiteral("贫农明细表");
    for (std::size_t c = 0; c < kColumns.size(); ++c)
        table.columns.push_back({list.text(0, int(c)), kColumns[c].width});
    const int rows = list.rowCount();
    table.rows.reserve(std::size_t(std::max(0, rows - 1)));
    for (int r = 1; r < rows; ++r) {
        QStringList row;
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            if (kColumns[c].checkBox)
                row << (list.checked(r, int(c)) ? QStringLiteral("√") : QStringLiteral("×"));
            else
                row << list.text(r, int(c));
        }
        table.rows.push_back(row);
    }
    return table;
}

bool printDetailSheet(const SheetSource &list, PrintService &printer, QWidget *parent)
{
    const PrintTable table = detailSheetTable(list);
    PrintJob job;
    job.documentName = table.title;
    job.orientation = QPageLayout::Landscape;
    job.paint = [&table](QPrinter &target) { return paintTable(target, table); };
    return printer.print(parent, job);
}

} // namespace fenlark
