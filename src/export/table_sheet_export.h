#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace fenlark {

class Dialogs;
class ExcelApplication;
class ExcelWorkbook;

// One titled table of a sheet: a title line, a header row and rows of texts, the cells of the
// header and the rows bordered and centred as the detail sheet's are.
struct SheetTable {
    QString title;
    QStringList headers;
    std::vector<QStringList> rows;
    std::vector<double> widths; // per column, in characters; missing ones keep the sheet's
};

// Writes the tables one under another, a blank row between them, into a new workbook whose
// sheet (and file) is named sheetName, and shows it in the spreadsheet program. The first
// table's title is the sheet's big title over its columns; the others' titles head their own
// tables. Without a spreadsheet program it says so, as the detail sheet's export does.
void exportTableSheet(const QString &sheetName, const std::vector<SheetTable> &tables, ExcelApplication &app,
                      ExcelWorkbook &book, Dialogs &dialogs, QWidget *parent);

} // namespace fenlark
