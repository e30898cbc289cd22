#include "printing/detail_sheet_print.h"

#include "export/sheet_source.h"
#include "printing/print_service.h"

#include <algorithm>
#include <array>

namespace fenlark {

namespace {

struct SheetColumn {
    double width; // the sheet's width in characters
    bool checkBox;
};

// The detail sheet's columns A to M; the widths are those the export gives the workbook.
constexpr std::array<SheetColumn, 13> kColumns{{
    {4, false},  // N
    {9, false},  // 户主
    {20, false}, // 身份证
    {20, false}, // 所属管辖
    {10, false}, // 农户属性
    {10, true},  // 计划生育户
    {10, true},  // 合作医疗
    {10, true},  // 养老保险
    {10, false}, // 健康状况
    {10, true},  // 违法违纪
    {10, true},  // 是否残疾
    {10, true},  // 是否党员
    {18, false}, // 最后更新时间
}};

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
