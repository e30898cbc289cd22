#include "cards/card_number.h"

namespace fenlark {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return !text.isEmpty();
}

} // namespace

QStringList CardProblems::texts() const
{
    QStringList texts;
    if (checkCharacter)
        texts << QStringLiteral("校验位不正确");
    if (birthDate)
        texts << QStringLiteral("出生日期无效");
    if (sex)
        texts << QStringLiteral("性别与身份证不符");
    return texts;
}

QChar cardCheckCharacter(const QString &first17)
{
    if (first17.size() != 17 || !allDigits(first17))
        return {};
    // ISO 7064 MOD 11-2: position i (1-based from the left of 18) weighs 2^(18-i) mod 11.
    int sum = 0;
    int weight = 1;
    for (int i = 16; i >= 0; --i) {
        weight = (weight * 2) % 11;
        sum += (first17.at(i).unicode() - u'0') * weight;
    }
    const int check = (12 - sum % 11) % 11;
    return check == 10 ? QChar(u'X') : QChar(u'0' + check);
}

CardProblems checkCardNumber(const QString &card, const QString &sex, const QDate &today)
{
    CardProblems problems;
    const QChar expected = cardCheckCharacter(card.left(17));
    problems.checkCharacter = card.size() != 18 || expected.isNull() || card.at(17).toUpper() != expected;

    const QStringView date = QStringView(card).mid(6, 8);
    if (date.size() != 8 || !allDigits(date)) {
        problems.birthDate = true;
    } else {
        const QDate born(date.left(4).toInt(), date.mid(4, 2).toInt(), date.mid(6, 2).toInt());
        problems.birthDate = !born.isValid() || born > today;
    }

    if (card.size() >= 17 && isDigit(card.at(16)) && (sex == QStringLiteral("男") || sex == QStringLiteral("女"))) {
        const bool odd = (card.at(16).unicode() - u'0') % 2 == 1;
        problems.sex = odd != (sex == QStringLiteral("男"));
    }
    return problems;
}

QString cardKey(const QString &card)
{
    if (card.endsWith(u'x'))
        return card.left(card.size() - 1) + u'X';
    return card;
}

} // namespace fenlark
