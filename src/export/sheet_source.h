#pragma once

#include <QString>

namespace fenlark {

// What the export reads from the household list: its rows with the header as row 0, the text of
// a cell and, in the check-box columns, whether the box is set.
class SheetSource {
public:
    virtual ~SheetSource() = default;
    virtual int rowCount() const = 0; // header row included
    virtual QString text(int row, int column) const = 0;
    virtual bool checked(int row, int column) const = 0;
};

} // namespace fenlark
