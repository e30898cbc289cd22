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
    // Columns whose row cells are numbers (counts), written as such so that the spreadsheet
    // program can add them up and chart them; a cell that does not read as a number stays text.
    std::vector<int> numberColumns;
};

// A chart under the tables, drawn by the spreadsheet program from one table's cells. Rows count
// from the table's first row under its header; columns from its first column.
// Column chart: the categories are column 0 of rows firstRow to lastRow, and each column from
// firstColumn to lastColumn is a series named by its header.
// Pie chart: the categories are the headers of those columns and its one series is those
// columns' cells of row firstRow.
struct TableChart {
    bool pie = false;
    QString title;
    std::size_t table = 0;
    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = 1;
    int lastColumn = 1;
};

// Writes the tables one under another, a blank row between them, into a new workbook whose
// sheet (and file) is named sheetName, and shows it in the spreadsheet program. The first
// table's title is the sheet's big title over its columns; the others' titles head their own
// tables. The charts follow side by side under the last table. Without a spreadsheet program it
// says so, as the detail sheet's export does.
void exportTableSheet(const QString &sheetName, const std::vector<SheetTable> &tables, ExcelApplication &app,
                      ExcelWorkbook &book, Dialogs &dialogs, QWidget *parent,
                      const std::vector<TableChart> &charts = {});

} // namespace fenlark
