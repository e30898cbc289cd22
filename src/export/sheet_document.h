#pragma once

#include "export/cell_area.h"

#include <QString>

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace fenlark {

// A row tall enough for text of this size, Chinese text included (its glyphs stand taller than
// Latin ones): 1.4 times the size, rounded up to whole pixels (0.75 point) as Excel keeps it.
// The file keeps a row's height as given, and spreadsheet programs do not grow a row for a
// larger font when they open it.
double rowHeightForFontSize(double fontSize);

// One edge of a cell's border in libxlsxwriter's terms: a LXW_BORDER_* style (0 = none) and an
// RGB colour with libxlsxwriter's "defined" bit (0 = automatic).
struct BorderEdge {
    std::uint8_t style = 0;
    std::uint32_t color = 0;
    friend auto operator<=>(const BorderEdge &, const BorderEdge &) = default;
};

// Everything that decides a cell's format. Cells that share a style share one format object in
// the written file, so a sheet of thousands of bordered cells needs only a handful of formats.
struct CellStyle {
    double fontSize = 0;                  // 0: the workbook's standard size
    std::uint8_t horizontalAlignment = 0; // LXW_ALIGN_*, 0 = general
    BorderEdge left, right, top, bottom;
    friend auto operator<=>(const CellStyle &, const CellStyle &) = default;
    bool isDefault() const { return *this == CellStyle{}; }
};

// A chart of the worksheet drawn from its cells, as the spreadsheet program draws it: it follows
// the cells when they are edited there. A column chart has one series per value area, each
// named by a cell; a pie chart has one.
struct SheetChart {
    enum class Kind { Column, Pie };
    struct Series {
        CellArea values;
        std::optional<CellPosition> name;
    };
    Kind kind = Kind::Column;
    QString title;
    CellArea categories;
    std::vector<Series> series;
    CellPosition place; // the cell at the chart's top-left corner
};

// The contents of one workbook with a single worksheet, kept in memory while the sheet is being
// built and written out as an .xlsx file in one go. libxlsxwriter fixes a cell's format when the
// cell is written, so properties that arrive one call at a time are collected here first.
class SheetDocument {
public:
    // Operations on many cells refuse areas larger than this rather than exhaust memory.
    static constexpr qint64 kMaxCellsPerCall = qint64(1) << 20;

    QString sheetName() const { return m_sheetName; }
    // Excel's rules: 1 to 31 characters, none of : \ / ? * [ ], not beginning or ending with '.
    bool setSheetName(const QString &name);

    bool setValue(const CellArea &area, const QString &text);
    // A number the spreadsheet program can add up and chart; value() gives it as text.
    bool setNumber(const CellArea &area, double number);
    bool setFontSize(const CellArea &area, double size);
    bool setHorizontalAlignment(const CellArea &area, std::uint8_t alignment);
    // Draws edge on the outline of the area only, as Excel's BorderAround does.
    bool borderAround(const CellArea &area, BorderEdge edge);
    // Merges the area into one cell showing its top-left value; merges it overlaps are undone.
    bool merge(const CellArea &area);
    bool setColumnWidth(const CellArea &area, double width);
    // Refuses a chart without series or with an area beyond the sheet.
    bool addChart(const SheetChart &chart);

    QString value(int row, int column) const;
    CellStyle style(int row, int column) const;
    bool isNumber(int row, int column) const;
    const std::vector<CellArea> &merges() const { return m_merges; }
    const std::vector<SheetChart> &charts() const { return m_charts; }

    // Writes the workbook to path (replacing what is there). On failure no file is left behind.
    bool save(const QString &path) const;

private:
    struct Cell {
        QString value;
        std::optional<double> number; // written as a number rather than as the text
        CellStyle style;
    };
    using Row = std::vector<Cell>;

    Cell &cell(int row, int column);
    const Cell *findCell(int row, int column) const;
    template <typename Change> bool forEachCell(const CellArea &area, Change change);

    QString m_sheetName = QStringLiteral("Sheet1");
    std::map<int, Row> m_rows;
    std::vector<CellArea> m_merges;
    std::map<int, double> m_columnWidths;
    std::vector<SheetChart> m_charts;
};

} // namespace fenlark
