#pragma once

#include "import/access_reader.h"

#include <QString>

#include <functional>

// Bringing an existing Access register (成员信息, 区域管理, 年份管理) over into a new register
// file of ours, every row and column, ids and row order kept.
namespace fenlark::importer {

// Called as the rows of a table are written: at its start (done 0), every few hundred rows and
// at its end (done == total unless the table's own count was wrong). total is -1 when unknown.
using ImportProgress = std::function<void(const QString &table, qint64 done, qint64 total)>;

// Reads the Access file at accessPath (Jet 3 texts taken as GBK) and writes the new register
// file newPath. Refuses a newPath where a file already is. The new file is made beside
// newPath under a temporary name and renamed to newPath only once it is complete, so a failure
// or an interruption never leaves a half-written register under that name; on failure the
// temporary file is removed too. The name initials (首拼音) of every household are computed
// afresh from 户主, as a save would. report lists the rows written per table, the initials
// recomputed, and what the new register has no place for (extra tables and columns: reported,
// not carried over). On failure error says why (not an Access file, damaged, a table or a
// column missing or of the wrong type).
bool importAccessRegister(const QString &accessPath, const QString &newPath, const ImportProgress &progress,
                          QString &report, QString &error);

// The same from any source of tables (the reader above, or rows made in memory).
// sourceDescription names the source on the report's first line.
bool importRegister(TableSource &source, const QString &sourceDescription, const QString &newPath,
                    const ImportProgress &progress, QString &report, QString &error);

} // namespace fenlark::importer
