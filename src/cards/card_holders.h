#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace fenlark {

class DBConnection;

// A member of a stored household, as the member-card index knows it.
struct CardHolder {
    qint64 household = 0; // rowid of the household in 成员信息
    QString headName;     // 户主
    QString unit;         // 所属管辖
    int year = 0;         // 录入年份
    QString memberName;
    QString card;
};

// Members of households of the year, other than the household excluded (the one being saved
// over; 0 for none), whose card is this one ("x" and "X" as one). An index probe.
std::vector<CardHolder> cardHolders(DBConnection &connection, const QString &card, int year, qint64 excludedHousehold);

// "户主 王五, 所属管辖 村B, 年份 2016": the household a duplicate card belongs to, for the user.
QString describeHousehold(const CardHolder &holder);

// One finding of a whole-register check of the cards.
struct CardFinding {
    enum Kind { Invalid, Duplicate };
    Kind kind = Invalid;
    QString card;
    int year = 0;
    QStringList problems;            // Invalid: the texts of CardProblems
    std::vector<CardHolder> holders; // Invalid: the member; Duplicate: every member holding it
};

// Every named member whose card fails the checks of CardProblems (length other than 18 included,
// as "长度不是18位"), and every card held twice or more within one entry year, in one household
// or several, with the households concerned. Reads every household once; for fenlark-db check.
std::vector<CardFinding> cardFindings(DBConnection &connection, const QDate &today);

// One line of a report for a finding.
QString describeFinding(const CardFinding &finding);

} // namespace fenlark
