#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QPrinter;

namespace fenlark {

// A column of a printed table: its header text and its width relative to the other columns
// (the export's character widths serve as they are).
struct PrintColumn {
    QString header;
    double width = 10;
};

// A titled table for paper: the title (and an optional line under it) on the first page, then
// the header row and the rows, bordered and centred, as the detail sheet lays them out.
struct PrintTable {
    QString title;
    QString subtitle;
    std::vector<PrintColumn> columns;
    std::vector<QStringList> rows; // one text per column
};

// How the rows of a table fall onto pages of a given printable height.
struct TablePagination {
    int rowsOnFirstPage = 0; // data rows under the title and the header row
    int rowsPerPage = 0;     // data rows under the header row on every later page
    int pageCount = 1;
};
TablePagination paginateTable(int rowCount, bool withSubtitle, double pageHeightMm);

// Paints the table onto the printer, as many pages as it takes: the header row repeats at the
// top of every page and each page carries "第 n 页，共 m 页" at its foot. Texts too wide for
// their cell are set smaller, down to a legible least, and only then cut with "…". False when the printer could not be painted on.
bool paintTable(QPrinter &printer, const PrintTable &table);

} // namespace fenlark
