#pragma once

#include <QString>

namespace fenlark {

class DBConnection;

// The keyword catalogue: each distinct stored 标签 value of the households once, with the rowid
// of the first household holding it. The query window's keyword list is every 标签 text in the
// order a walk over the households first meets it; read from here it costs one short ordered scan
// of the distinct values, instead of a pass over every household's 标签 (a million index entries
// grouped, hundreds of milliseconds, every time 查找 opens).
//
// Unlike the member-card index, whose triggers call functions of this program and so live on each
// connection, this table is kept by triggers stored in the file: they are plain SQL, so whatever
// writes the register (this program, fenlark-db, an older build, the sqlite3 shell) keeps it right
// in the same transaction.
namespace keywordCatalogue {
inline const QString table = QStringLiteral("标签汇总");
inline const QString value = QStringLiteral("标签");    // the stored value, exactly as in 成员信息
inline const QString firstRow = QStringLiteral("首户"); // min(rowid) of the households holding it

// The catalogue's values with their first rows, in first-row order, and 1 for a value stored
// as text.
QString orderedSql();
} // namespace keywordCatalogue

// Makes sure a register file has the catalogue and its triggers: makes and fills it when it is
// missing or a trigger has gone (the catalogue may then be stale, so it is filled afresh), in one
// transaction. Cheap once it is there. False, and nothing made, on a server, on a read-only file,
// before the households' table exists, or when 标签 is not a text column (a hand-made file): the
// keyword list then groups the households themselves.
bool ensureKeywordCatalogue(DBConnection &connection);

// True when the catalogue of this register file is there with all its triggers, so it holds
// exactly the households' distinct 标签 values.
bool keywordCatalogueReady(DBConnection &connection);

} // namespace fenlark
