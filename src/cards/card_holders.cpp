#include "cards/card_holders.h"

#include "cards/card_number.h"
#include "core/text.h"
#include "data/member_card_index.h"
#include "data/statement.h"

#include <utility>

namespace fenlark {

namespace {

// Both spellings of a card that ends in an X, so an index probe finds "…x" and "…X" alike.
std::pair<QString, QString> spellings(const QString &card)
{
    const QString upper = cardKey(card);
    if (!upper.endsWith(u'X'))
        return {upper, upper};
    return {upper, upper.left(upper.size() - 1) + u'x'};
}

CardHolder readHolder(const Statement &row)
{
    CardHolder holder;
    holder.household = row.int64(0);
    holder.headName = row.text(1);
    holder.unit = row.text(2);
    holder.year = int(row.int64(3));
    holder.memberName = row.text(4);
    holder.card = row.text(5);
    return holder;
}

const char kHolderColumns[] =
    "SELECT m.\"户id\", h.\"户主\", h.\"所属管辖\", m.\"录入年份\", m.\"姓名\", m.\"身份证号\" "
    "FROM \"成员身份证\" AS m JOIN \"成员信息\" AS h ON h.rowid = m.\"户id\" ";

} // namespace

std::vector<CardHolder> cardHolders(DBConnection &connection, const QString &card, int year, qint64 excludedHousehold)
{
    std::vector<CardHolder> holders;
    if (card.isEmpty() || !ensureMemberCardIndex(connection))
        return holders;
    Statement query(connection, QString::fromUtf8(kHolderColumns) +
                                    QStringLiteral("WHERE m.\"身份证号\" IN (?1, ?2) AND m.\"录入年份\" = ?3 "
                                                   "AND m.\"户id\" <> ?4 ORDER BY m.\"户id\""));
    const auto [upper, lower] = spellings(card);
    query.bind(1, upper).bind(2, lower).bind(3, year).bind(4, excludedHousehold);
    while (query.step())
        holders.push_back(readHolder(query));
    return holders;
}

QString describeHousehold(const CardHolder &holder)
{
    return QStringLiteral("户主 %1, 所属管辖 %2, 年份 %3")
        .arg(holder.headName, holder.unit, QString::number(holder.year));
}

std::vector<CardFinding> cardFindings(DBConnection &connection, const QDate &today)
{
    std::vector<CardFinding> findings;
    {
        Statement households(connection, QStringLiteral("SELECT rowid, \"户主\", \"所属管辖\", \"录入年份\", "
                                                        "\"家庭人员信息\" FROM \"成员信息\" ORDER BY rowid"));
        while (households.step()) {
            const QString packed = households.text(4);
            if (packed.isEmpty())
                continue;
            for (const QString &entry : splitFields(packed, u',')) {
                const QStringList fields = splitFields(entry, u'-');
                const QString name = fields.value(0);
                if (name.isEmpty())
                    continue;
                const QString card = fields.value(2);
                CardFinding finding;
                if (gbkByteLength(card) != 18)
                    finding.problems << QStringLiteral("长度不是18位");
                else
                    finding.problems = checkCardNumber(card, fields.value(1), today).texts();
                if (finding.problems.isEmpty())
                    continue;
                finding.card = card;
                finding.year = int(households.int64(3));
                finding.holders.push_back(
                    {households.int64(0), households.text(1), households.text(2), finding.year, name, card});
                findings.push_back(std::move(finding));
            }
        }
    }
    if (!ensureMemberCardIndex(connection))
        return findings;
    // Cards held more than once in a year, "x" and "X" as one; then every holder of each.
    Statement repeated(connection,
                       QStringLiteral("SELECT upper(\"身份证号\") AS card, \"录入年份\" FROM \"成员身份证\" "
                                      "WHERE \"身份证号\" <> '' GROUP BY card, \"录入年份\" HAVING count(*) > 1 "
                                      "ORDER BY \"录入年份\", card"));
    while (repeated.step()) {
        CardFinding finding;
        finding.kind = CardFinding::Duplicate;
        finding.card = repeated.text(0);
        finding.year = int(repeated.int64(1));
        finding.holders = cardHolders(connection, finding.card, finding.year, 0);
        findings.push_back(std::move(finding));
    }
    return findings;
}

QString describeFinding(const CardFinding &finding)
{
    QStringList holders;
    for (const CardHolder &holder : finding.holders)
        holders << holder.memberName + QStringLiteral(" (") + describeHousehold(holder) + u')';
    if (finding.kind == CardFinding::Invalid) {
        return QStringLiteral("身份证号 %1: %2 — %3")
            .arg(finding.card, finding.problems.join(QStringLiteral("、")), holders.join(QStringLiteral("; ")));
    }
    return QStringLiteral("身份证号 %1 在 %2 年重复: %3")
        .arg(finding.card, QString::number(finding.year), holders.join(QStringLiteral("; ")));
}

} // namespace fenlark
