#include "export/table_sheet_export.h"

#include "export/cell_area.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "ui/dialogs.h"

#include <algorithm>

namespace fenlark {

namespace {

QString cellName(int row, int column)
{
    return columnLetters(column) + QString::number(row + 1);
}

} // namespace

void exportTableSheet(const QString &sheetName, const std::vector<SheetTable> &tables, ExcelApplication &app,
                      ExcelWorkbook &book, Dialogs &dialogs, QWidget *parent)
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
    for (const SheetTable &table : tables) {
        const int lastColumn = std::max(0, int(table.headers.size()) - 1);
        book.setRange(cellName(row, 0), cellName(row, lastColumn));
        book.merge();
        book.setValue(table.title);
        book.setFontSize(first ? 24 : 14);
        book.setHorizontalAlignment(first ? xl::HAlignCenter : xl::HAlignLeft);
        ++row;
        std::vector<QStringList> lines;
        lines.push_back(table.headers);
        lines.insert(lines.end(), table.rows.begin(), table.rows.end());
        for (const QStringList &line : lines) {
            for (int c = 0; c <= lastColumn; ++c) {
                const QString cell = cellName(row, c);
                book.setRange(cell, cell);
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
    app.show();
}

} // namespace fenlark
