#pragma once

#include <QString>

#include <optional>

namespace fenlark {

// A rectangle of worksheet cells, rows and columns counted from 0 (A1 is row 0, column 0).
struct CellArea {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;

    qint64 cellCount() const { return qint64(lastRow - firstRow + 1) * (lastColumn - firstColumn + 1); }
    bool contains(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool intersects(const CellArea &other) const
    {
        return firstRow <= other.lastRow && other.firstRow <= lastRow && firstColumn <= other.lastColumn &&
               other.firstColumn <= lastColumn;
    }
    bool isSingleCell() const { return firstRow == lastRow && firstColumn == lastColumn; }
    friend bool operator==(const CellArea &, const CellArea &) = default;
};

inline constexpr int kSheetRowCount = 1048576;
inline constexpr int kSheetColumnCount = 16384;

struct CellPosition {
    int row = 0;
    int column = 0;
};

// "A1", "m1", "XFD1048576": column letters then a row number from 1, within the sheet's limits.
std::optional<CellPosition> parseCellName(const QString &name);

// The rectangle spanned by two corner cells given in either order.
std::optional<CellArea> parseCellArea(const QString &first, const QString &last);

// The letters of a column: 0 is "A", 25 "Z", 26 "AA".
QString columnLetters(int column);

} // namespace fenlark
