#pragma once

#include <QString>

#include <vector>

struct sqlite3;

namespace fenlark {

// A difference between a file's tables and the three tables of a register: a table or a column
// that is not there, or a column declared with another kind than the register's.
struct SchemaProblem {
    enum Kind { MissingTable, MissingColumn, WrongKind };
    Kind kind;
    QString table;
    QString column;   // empty for MissingTable
    QString expected; // declared kind (WrongKind only)
    QString found;

    // In words for the clerk: "缺少表 年份管理", "成员信息 缺少列 户主",
    // "成员信息 的列 年收入 类型为 TEXT,应为 DOUBLE".
    QString text() const;
};

// Compares the open database's tables (names exact, as every register spells them) with the
// register's own. Empty when all three tables have all their columns with their kinds.
std::vector<SchemaProblem> schemaProblems(sqlite3 *db);

// The same, only the tables and columns that are missing (a wrong kind still lets the
// program read the file).
std::vector<SchemaProblem> missingSchemaParts(sqlite3 *db);

} // namespace fenlark
