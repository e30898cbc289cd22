#pragma once

namespace fenlark {

class Clock;
class ComboBox;
class RecordSet;

// Refills the year drop-down from 年份管理 in table order, then "全部", and selects the current
// year (the last such row), else the first year, else "全部". The selection is the program's,
// not a user choice, so it reloads nothing. The record set stays open until its next open.
// Called by the start-up and after every household save.
void fillYearList(RecordSet &mainSet, ComboBox &years, const Clock &clock);

} // namespace fenlark
