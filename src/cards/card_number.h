#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace fenlark {

// What is wrong with an 18-character resident identity-card number (GB 11643-1999), beyond its
// length, which the save refuses on its own.
struct CardProblems {
    bool checkCharacter = false; // the 18th is not the ISO 7064 MOD 11-2 check of the first 17
    bool birthDate = false;      // characters 7 to 14 are no real date, or one after today
    bool sex = false;            // the sequence's last digit (17th) disagrees with 性别 男 / 女
    bool any() const { return checkCharacter || birthDate || sex; }
    // "校验位不正确", "出生日期无效", "性别与身份证不符", in this order, for the problems found.
    QStringList texts() const;
};

// The check character of the first 17 characters ("0"-"9" or "X"); a null character when they
// are not 17 digits.
QChar cardCheckCharacter(const QString &first17);

// Checks a card number as typed (a lower-case "x" counts as "X"). sex is the member's 性别: only
// "男" and "女" are compared with the card. A text that is not 17 digits and a check character
// fails the check-character test; its date and sex are judged from whatever digits are there.
CardProblems checkCardNumber(const QString &card, const QString &sex, const QDate &today);

// The card as the index compares it: upper-case "X", so "…x" and "…X" are one card.
QString cardKey(const QString &card);

} // namespace fenlark
