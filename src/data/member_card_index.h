#pragma once

#include <QString>

#include <vector>

namespace fenlark {

class DBConnection;

// The member-card index: one row per named member of every household (成员身份证), beside the
// three tables, so that a card number already entered, or a household found by any member's
// name or card, is an index probe instead of unpacking every 家庭人员信息 of the register.
// The households' own rows stay the record; this table only mirrors their packed members.
//
// Every connection opened by DBConnection keeps it in step through triggers of its own (not
// stored in the file), fed by the packed text as the same statement writes it: an insert,
// a deletion or a change of 家庭人员信息, 录入年份 or 所属管辖 of a household is mirrored in the
// same transaction, whatever part of the program writes it.
namespace memberIndex {
inline const QString table = QStringLiteral("成员身份证");
inline const QString household = QStringLiteral("户id"); // rowid of the household in 成员信息
inline const QString entryYear = QStringLiteral("录入年份");
inline const QString unit = QStringLiteral("所属管辖");
inline const QString name = QStringLiteral("姓名");
inline const QString card = QStringLiteral("身份证号");
// Full-text index of the members' names, one character to a token, so that a fragment of any
// length (a single surname too) is a phrase query; rowid = rowid of the member row.
inline const QString nameSearch = QStringLiteral("成员姓名检索");
} // namespace memberIndex

// Makes sure the index exists and is kept: creates and fills it when the register lacks it
// (a file from before it existed, or one whose tables were made after the connection opened)
// and installs this connection's triggers. Cheap once it has succeeded. False when the register
// has no 成员信息 yet or the index cannot be made (a read-only file): lookups then find nothing.
// A register on a server keeps its index itself (data/server_member_index.h): this only looks
// that it is there; `fenlark-db server-init` makes it for a server register from before it.
bool ensureMemberCardIndex(DBConnection &connection);

// Empties the index and fills it again from every household's packed members, in one
// transaction (fenlark-db check --repair, and a register just made by a bulk load); on a server
// also makes it when missing.
bool rebuildMemberCardIndex(DBConnection &connection);

// Households (rowids of 成员信息) with a member whose name holds fragment exactly, through the
// name index of whichever engine the register is on; at most limit of them, in no particular
// order. None when the fragment has nothing a name index holds (see namePhraseQuery).
std::vector<qint64> householdsByMemberName(DBConnection &connection, const QString &fragment, int limit);

// The steps a build of the index reports through DBConnection's index-build progress: first the
// member-card table, then the name index.
QString cardIndexStepText();
QString nameIndexStepText();

// The text the name index holds for a name: its characters with a blank between each two.
QString nameSearchTokens(const QString &name);

// The FTS5 phrase that finds names holding fragment (one token per character); empty when the
// fragment has nothing a name index holds.
QString namePhraseQuery(const QString &fragment);

// Registers the SQL functions the index triggers call on a newly opened connection.
void registerMemberIndexFunctions(DBConnection &connection);

} // namespace fenlark
