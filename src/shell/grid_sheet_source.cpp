#include "shell/grid_sheet_source.h"

#include "ui/egrid.h"

namespace fenlark {

int GridSheetSource::rowCount() const
{
    return m_grid.rowCount();
}

QString GridSheetSource::text(int row, int column) const
{
    return m_grid.cellText(row, column);
}

bool GridSheetSource::checked(int row, int column) const
{
    return m_grid.cellChecked(row, column);
}

} // namespace fenlark
