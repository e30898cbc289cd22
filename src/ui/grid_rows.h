#pragma once

namespace fenlark {

class EGrid;

// Row helpers every list of the program shares. Row 0 is the header row.

// Cell 0 of every data row r becomes the decimal text of r.
void renumberRows(EGrid &list);
// Deletes data row 1 until the grid refuses: the header row stays.
void emptyGrid(EGrid &list);

} // namespace fenlark
