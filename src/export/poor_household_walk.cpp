#include "export/poor_household_walk.h"

#include "export/detail_sheet_columns.h"

#include "export/cell_area.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/sheet_source.h"
#include "ui/dialogs.h"

#include <array>

namespace fenlark {

namespace {

constexpr const auto &kColumns = kDetailSheetColumns;

QString cellValue(const SheetSource &list, int row, int column)
{
    if (row > 0 && kColumns[std::size_t(column)].checkBox)
        return list.checked(row, column) ? QStringLiteral("√") : QStringLiteral("×");
    return list.text(row, column);
}

} // namespace

void walkPoorHouseholdSheet(const SheetSource &list, ExcelApplication &app, ExcelWorkbook &book, Dialogs &dialogs,
                            QWidget *parent)
{
    if (!app.start()) {
        dialogs.message(parent, QStringLiteral("请确保本机已安装微软件office软件！"), MessageIcon::Error,
                        QStringLiteral("信息："));
        return;
    }
    book.newWorkbook(app);

    const QString title = QStringLiteral("贫农明细表");
    book.setRange(QStringLiteral("A1"), QStringLiteral("M1"));
    book.merge();
    book.setValue(title);
    book.setSheetName(title);
    book.setFontSize(24);
    book.setHorizontalAlignment(xl::HAlignCenter);

    const int rows = list.rowCount();
    for (int i = 1; i <= rows; ++i) {
        const QString excelRow = QString::number(i + 1);
        for (int column = 0; column < int(kColumns.size()); ++column) {
            const QString cell = columnLetters(column) + excelRow;
            book.setRange(cell, cell);
            book.setValue(cellValue(list, i - 1, column));
            book.setColumnWidth(kColumns[std::size_t(column)].width);
            book.setHorizontalAlignment(xl::HAlignCenter);
            book.borderAround(xl::Continuous, xl::Thin, std::nullopt, 0);
        }
    }
    if (!app.show()) {
        dialogs.message(parent, QStringLiteral("导出失败,贫农明细表没有写成文件,请检查磁盘空间和临时文件夹后重试!"),
                        MessageIcon::Error);
    }
}

} // namespace fenlark
