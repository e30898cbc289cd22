#pragma once

#include <QDate>
#include <QString>

namespace fenlark {

class DBConnection;
class EGrid;

// The card numbers of the member grid beyond their length: check character, birth date, sex
// digit, and cards entered twice (in this household, or already in another household of the
// same entry year). They warn; they never refuse, since an office may hold a real card that
// breaks the rules (old cards were issued with mistakes).
namespace memberCards {

// Marks the card cell of every member row that holds a card with what is wrong with it
// (tooltip and warning colours) and clears the mark of the others. Runs after each edit, so a
// mistyped card shows while the user is still on the row.
void markCardCells(EGrid &grid, const QDate &today);

// The question asked before a save: every named member whose card fails a check or is held
// by another member of this household or of another household of year (household
// excludedHousehold, the one being saved over, is not another), with what is wrong and the
// other household's 户主, 所属管辖 and 年份. Empty when there is nothing to ask.
QString saveQuestion(const EGrid &grid, DBConnection &connection, int year, qint64 excludedHousehold,
                     const QDate &today);

} // namespace memberCards
} // namespace fenlark
