#include "household/member_card_check.h"

#include "cards/card_holders.h"
#include "cards/card_number.h"
#include "core/text.h"
#include "household/member_grid.h"
#include "ui/egrid.h"

#include <QStringList>

namespace fenlark::memberCards {

namespace {

struct MemberCard {
    int row = 0;
    QString name;
    QString sex;
    QString card;
};

// Rows holding a card (named or not yet) when onlyNamed is false; the rows a save packs otherwise.
std::vector<MemberCard> cardsOf(const EGrid &grid, bool onlyNamed)
{
    std::vector<MemberCard> cards;
    for (int r = 1; r < grid.rowCount(); ++r) {
        MemberCard member{r, grid.cellText(r, memberGrid::kNameColumn), grid.cellText(r, memberGrid::kSexColumn),
                          grid.cellText(r, memberGrid::kCardColumn)};
        if (onlyNamed ? member.name.isEmpty() : member.card.isEmpty())
            continue;
        cards.push_back(std::move(member));
    }
    return cards;
}

// What the member's own card and this household's other members say against it.
QStringList ownProblems(const MemberCard &member, const std::vector<MemberCard> &all, const QDate &today)
{
    QStringList problems;
    if (gbkByteLength(member.card) != 18)
        problems << QStringLiteral("身份证号不是18位");
    else
        problems << checkCardNumber(member.card, member.sex, today).texts();
    for (const MemberCard &other : all) {
        if (other.row != member.row && cardKey(other.card) == cardKey(member.card)) {
            const QString who = other.name.isEmpty() ? QStringLiteral("第%1行").arg(other.row) : other.name;
            problems << QStringLiteral("与本户%1的身份证号相同").arg(who);
        }
    }
    return problems;
}

} // namespace

void markCardCells(EGrid &grid, const QDate &today)
{
    const std::vector<MemberCard> cards = cardsOf(grid, false);
    for (int r = 1; r < grid.rowCount(); ++r)
        grid.setCellNote(r, memberGrid::kCardColumn, QString());
    for (const MemberCard &member : cards)
        grid.setCellNote(member.row, memberGrid::kCardColumn,
                         ownProblems(member, cards, today).join(QStringLiteral("、")));
}

QString saveQuestion(const EGrid &grid, DBConnection &connection, int year, qint64 excludedHousehold,
                     const QDate &today)
{
    const std::vector<MemberCard> members = cardsOf(grid, true);
    QStringList lines;
    for (const MemberCard &member : members) {
        QStringList problems = ownProblems(member, members, today);
        for (const CardHolder &holder : cardHolders(connection, member.card, year, excludedHousehold))
            problems << QStringLiteral("已登记在其他农户(%1)").arg(describeHousehold(holder));
        if (!problems.isEmpty())
            lines << QStringLiteral(" %1 %2: %3").arg(member.name, member.card, problems.join(QStringLiteral("、")));
    }
    if (lines.isEmpty())
        return {};
    return QStringLiteral("下列成员的身份证号需要核实:\n") + lines.join(u'\n') + QStringLiteral("\n是否仍然保存?");
}

} // namespace fenlark::memberCards
