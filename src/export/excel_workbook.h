#pragma once

#include "export/cell_area.h"

#include <QString>

#include <memory>
#include <optional>

namespace fenlark {

class ExcelApplication;
class SheetDocument;
struct SheetChart;

// Constants of Excel's object model, under their Excel names, for the calls below.
namespace xl {
inline constexpr int HAlignGeneral = 1;
inline constexpr int HAlignLeft = -4131;
inline constexpr int HAlignCenter = -4108;
inline constexpr int HAlignRight = -4152;

inline constexpr int LineStyleNone = -4142;
inline constexpr int Continuous = 1;
inline constexpr int Dash = -4115;
inline constexpr int Dot = -4118;
inline constexpr int Double = -4119;

inline constexpr int Hairline = 1;
inline constexpr int Thin = 2;
inline constexpr int Medium = -4138;
inline constexpr int Thick = 4;
} // namespace xl

// The workbook object (`Excel工作簿1`): a workbook of a started ExcelApplication, its first
// worksheet and a current range that the cell operations apply to. Each call either takes
// effect or returns false and changes nothing; the export relies on none of these results.
class ExcelWorkbook {
public:
    ExcelWorkbook();
    ~ExcelWorkbook();
    ExcelWorkbook(const ExcelWorkbook &) = delete;
    ExcelWorkbook &operator=(const ExcelWorkbook &) = delete;

    // Releases the earlier workbook, then adds a new one to app (which must be started) and
    // takes its first worksheet. No range is current afterwards.
    bool newWorkbook(ExcelApplication &app);

    // The current range: the rectangle between two cells named like "A1" and "M1".
    bool setRange(const QString &firstCell, const QString &lastCell);
    bool merge();
    bool setValue(const QString &text);
    // Range.Value with a number: a cell the spreadsheet program counts with and charts.
    bool setNumber(double number);
    bool setSheetName(const QString &name);
    bool setFontSize(double size);
    // xl::HAlignGeneral, HAlignLeft, HAlignCenter or HAlignRight.
    bool setHorizontalAlignment(int alignment);
    bool setColumnWidth(double width);
    // Range.BorderAround: a line of lineStyle and weight around the outline of the range, in
    // color (Excel's 0xBBGGRR; 0 is black). Without color the line takes the automatic colour;
    // palette indexes (colorIndex) are not supported and leave it automatic too.
    bool borderAround(int lineStyle, int weight, std::optional<int> colorIndex, std::optional<int> color);

    // ChartObjects.Add with its source data: a chart drawn from cells of the sheet.
    bool addChart(const SheetChart &chart);

    // Drops workbook, worksheet and range. The workbook stays with its application.
    void release();

    bool hasWorkbook() const { return m_document != nullptr; }
    std::optional<CellArea> range() const { return m_range; }

private:
    SheetDocument *target() const;

    std::shared_ptr<SheetDocument> m_document;
    std::optional<CellArea> m_range;
};

} // namespace fenlark
