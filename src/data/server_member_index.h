#pragma once

#include <QString>

namespace fenlark {

class DBConnection;

// The member-card index of a register on a PostgreSQL server (data/member_card_index.h says
// what it is for). There many clerks' programs write at once and any of them may be older or
// another tool altogether, so the server keeps the index itself: PL/pgSQL triggers on 成员信息
// mirror every insert, deletion and change of 家庭人员信息, 录入年份 or 所属管辖 in the same
// transaction, whoever sends it. They run with their owner's rights, so a township's clerk,
// who may only read the index, keeps it right through the households the row-level security
// lets it write, and nobody can write the index by hand.
namespace serverMemberIndex {

// The table (the file's columns plus the key column), its indexes, the index of the characters
// of each name that the search by a name fragment uses (GIN over the name's characters: core
// PostgreSQL, no extension, any script and any fragment length), the functions and the
// triggers. Made in the first schema of search_path; safe to run again: the table is kept, the
// functions and triggers are made anew.
QString createSql();

// Whether the register on the server has the index.
bool exists(DBConnection &connection);

// Empties the index and fills it from every household's packed members (the caller's
// transaction): a register made before the index, and a repair.
bool fill(DBConnection &connection);

// The households (户id, no repeats) with a member whose name holds ?1, at most ?2 of them,
// through the index of the names' characters.
QString nameSearchSql();

} // namespace serverMemberIndex
} // namespace fenlark
