#pragma once

#include <QString>

#include <functional>

namespace fenlark {

class SheetSource;

// Told every few hundred rows how many rows of the list (header included) are written out of
// how many; returning false stops the writing.
using SheetWriteProgress = std::function<bool(int written, int total)>;

enum class SheetWriteResult { Written, Cancelled, Failed };

// Writes the household list as the poor-household detail sheet into a new workbook file at
// target, row after row, keeping only the row being written: a list of a million households
// costs no more memory than one of fifteen. The sheet is the one the spreadsheet calls of the
// export lay out (title over A1:M1, one bordered, centred row per list row, "√"/"×" in the
// check-box columns). The file is written under a ".part" name beside target and renamed only
// when complete, so a stopped or failed export leaves nothing behind and an existing target is
// never touched. progress is called first with 0, then each time another `every` rows are
// written, and with the total once the file is complete; while the writing waits (the file is
// compressed at the end, the longest step of a long export) the last report is repeated, so a
// window repaints and its 取消 is seen. 取消 at any report, the last included, leaves no file.
SheetWriteResult writeDetailSheet(const SheetSource &list, const QString &target, const SheetWriteProgress &progress,
                                  int every = 500);

} // namespace fenlark
