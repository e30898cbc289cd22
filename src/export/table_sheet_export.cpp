#include "export/table_sheet_export.h"

#include "export/cell_area.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/sheet_document.h"
#include "ui/dialogs.h"

#include <algorithm>

namespace fenlark {

namespace {

// The columns a chart of the standard size (480 by 288 pixels) spans, with a little room.
constexpr int kChartColumns = 8;

QString cellName(int row, int column)
{
    return columnLetters(column) + QString::number(row + 1);
}

} // namespace

void exportTableSheet(const QString &sheetName, const std::vector<SheetTable> &tables, ExcelApplication &app,
                      ExcelWorkbook &book, Dialogs &dialogs, QWidget *parent, const std::vector<TableChart> &charts)
{
    if (!app.start()) {
        dialogs.message(parent, QStringLiteral("请确保本机已安装微软件office软件！"), MessageIcon::Error,
                        QStringLiteral("信息："));
        return;
    }
    book.newWorkbook(app);
    book.setRange(QStringLiteral("A1"), QStringLiteral("A1"));
    book.setSheetName(sheetName);

    // Each column takes the widest width any table asks of it.
    std::vector<double> widths;
    for (const SheetTable &table : tables) {
        if (widths.size() < table.widths.size())
            widths.resize(table.widths.size(), 0);
        for (std::size_t c = 0; c < table.widths.size(); ++c)
            widths[c] = std::max(widths[c], table.widths[c]);
    }

    int row = 0;
    bool first = true;
    std::vector<int> headerRows; // of each table
    for (const SheetTable &table : tables) {
        const int lastColumn = std::max(0, int(table.headers.size()) - 1);
        book.setRange(cellName(row, 0), cellName(row, lastColumn));
        book.merge();
        book.setValue(table.title);
        book.setFontSize(first ? 24 : 14);
        book.setHorizontalAlignment(first ? xl::HAlignCenter : xl::HAlignLeft);
        ++row;
        headerRows.push_back(row);
        std::vector<QStringList> lines;
        lines.push_back(table.headers);
        lines.insert(lines.end(), table.rows.begin(), table.rows.end());
        for (const QStringList &line : lines) {
            for (int c = 0; c <= lastColumn; ++c) {
                const QString cell = cellName(row, c);
                book.setRange(cell, cell);
                bool isNumber = false;
                const double number = line.value(c).toDouble(&isNumber);
                if (isNumber && &line != &lines.front() &&
                    std::find(table.numberColumns.begin(), table.numberColumns.end(), c) != table.numberColumns.end())
                    book.setNumber(number);
                else
                    book.setValue(line.value(c));
                if (std::size_t(c) < widths.size() && widths[std::size_t(c)] > 0)
                    book.setColumnWidth(widths[std::size_t(c)]);
                book.setHorizontalAlignment(xl::HAlignCenter);
                book.borderAround(xl::Continuous, xl::Thin, std::nullopt, 0);
            }
            ++row;
        }
        ++row; // a blank row before the next table
        first = false;
    }

    int column = 0;
    for (const TableChart &chart : charts) {
        if (chart.table >= tables.size())
            continue;
        const int header = headerRows[chart.table];
        SheetChart sheetChart;
        sheetChart.kind = chart.pie ? SheetChart::Kind::Pie : SheetChart::Kind::Column;
        sheetChart.title = chart.title;
        sheetChart.place = {row, column};
        if (chart.pie) {
            const int at = header + 1 + chart.firstRow;
            sheetChart.categories = {header, chart.firstColumn, header, chart.lastColumn};
            sheetChart.series.push_back({{at, chart.firstColumn, at, chart.lastColumn}, CellPosition{at, 0}});
        } else {
            sheetChart.categories = {header + 1 + chart.firstRow, 0, header + 1 + chart.lastRow, 0};
            for (int c = chart.firstColumn; c <= chart.lastColumn; ++c) {
                sheetChart.series.push_back(
                    {{header + 1 + chart.firstRow, c, header + 1 + chart.lastRow, c}, CellPosition{header, c}});
            }
        }
        if (book.addChart(sheetChart))
            column += kChartColumns;
    }
    app.show();
}

} // namespace fenlark
