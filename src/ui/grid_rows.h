#pragma once

namespace fenlark {

class EGrid;

// Row helpers every list of the program shares. Row 0 is the header row.

// Cell 0 of every data row r shows the decimal text of r from now on: one change for the list.
void renumberRows(EGrid &list);
// Deletes every data row at once: the header row stays.
void emptyGrid(EGrid &list);

} // namespace fenlark
