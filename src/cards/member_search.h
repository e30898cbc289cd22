#pragma once

#include <QString>

#include <vector>

namespace fenlark {

class DBConnection;

// Where a search by a member's name or card looks: the unit of the list and a year (or every
// year), or every unit and year of the register.
struct MemberSearchScope {
    bool everywhere = false;
    QString unit;
    int year = 0;
    bool allYears = false;
};

struct MemberSearchResult {
    std::vector<qint64> households; // rowids of 成员信息, ascending (the table's stored order)
    bool truncated = false;         // more matched than the limit: only the first are listed
};

// Households with a member (any member, not only the head) whose name contains fragment, or
// whose card contains it ("x" and "X" alike). Within one unit every match is listed and a card
// is matched anywhere; across every unit and year at most limit households are listed, names are
// found through the name index and a fragment of card characters (digits and X) is matched from
// the card's start. An empty fragment finds nothing.
MemberSearchResult findHouseholdsByMember(DBConnection &connection, const MemberSearchScope &scope,
                                          const QString &fragment, int limit);

} // namespace fenlark
