#pragma once

namespace fenlark {

class Clock;
class ComboBox;
class DBConnection;
class RecordSet;

// Refills the year drop-down from 年份管理: one item per row in table order, then "全部".
// Selects the current year (its last row, should it be there twice), else the first year,
// else "全部". The selection is the program's, not the user's: itemSelected is not emitted,
// so the household list does not reload. mainSet is left open on the table, as the next
// open closes it. Called at start-up after the tree build and by the household save.
void fillYearList(RecordSet &mainSet, ComboBox &years, const Clock &clock);

// The household save's registration of its year: adds a row to 年份管理 when none holds
// year. True when the year is there afterwards (found or added).
bool registerYear(DBConnection &connection, int year);

} // namespace fenlark
