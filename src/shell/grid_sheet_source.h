#pragma once

#include "export/sheet_source.h"

namespace fenlark {

class EGrid;

// The household list as the export reads it.
class GridSheetSource final : public SheetSource {
public:
    explicit GridSheetSource(const EGrid &grid) : m_grid(grid) {}
    int rowCount() const override;
    QString text(int row, int column) const override;
    bool checked(int row, int column) const override;
    std::vector<SheetCell> cells(int first, int count, int columns) const override;

private:
    const EGrid &m_grid;
};

} // namespace fenlark
