#include "demo_household.h"

#include "demo_plan.h"
#include "demo_words.h"

#include "core/pinyin.h"

#include <QDate>
#include <QStringList>

#include <algorithm>

namespace fenlark::dbtool {

namespace {

const QString kMale = QStringLiteral("男");
const QString kFemale = QStringLiteral("女");
const QString kDash = QStringLiteral("-");

// Given names are drawn from fixed pools, so the number of distinct names stays bounded
// (their initials are cached) while still looking varied.
constexpr int kGivenNamesPerSex = 200;

std::vector<QString> givenNamePool(DemoRandom &random, const std::vector<QString> &characters)
{
    std::vector<QString> pool;
    pool.reserve(kGivenNamesPerSex);
    for (int i = 0; i < kGivenNamesPerSex; ++i) {
        QString name = random.pick(characters);
        if (random.percent(75))
            name += random.pick(characters);
        // Now and then a character outside GB2312, and rarely one outside GBK altogether:
        // names the two-byte tables of old could not spell.
        if (i % 40 == 7)
            name.replace(name.size() - 1, 1, random.pick(words::rareNameCharacters()));
        else if (i % 50 == 11)
            name = name.left(1) + random.pick(words::outsideGbkCharacters());
        pool.push_back(name);
    }
    return pool;
}

// Writes value as count decimal digits, with leading zeros.
void putDigits(char *at, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        at[i] = char('0' + value % 10);
        value /= 10;
    }
}

// "YYYY-MM-DD HH:MM:SS", written by hand: a million of them go through here.
QString storedDateTime(const QDate &date, int secondOfDay)
{
    char text[19];
    putDigits(text, date.year(), 4);
    text[4] = '-';
    putDigits(text + 5, date.month(), 2);
    text[7] = '-';
    putDigits(text + 8, date.day(), 2);
    text[10] = ' ';
    putDigits(text + 11, secondOfDay / 3600, 2);
    text[13] = ':';
    putDigits(text + 14, secondOfDay / 60 % 60, 2);
    text[16] = ':';
    putDigits(text + 17, secondOfDay % 60, 2);
    return QString::fromLatin1(text, sizeof text);
}

QString digits(DemoRandom &random, int count)
{
    char text[32];
    count = std::min(count, int(sizeof text));
    for (int i = 0; i < count; ++i)
        text[i] = char('0' + random.below(10));
    return QString::fromLatin1(text, count);
}

} // namespace

struct DemoHouseholdMaker::Person {
    QString name;
    QString sex;
    QString card;
    QString relation;
    QString nation;
    QString education;
};

DemoHouseholdMaker::DemoHouseholdMaker(quint64 seed) : m_random(seed)
{
    DemoRandom pools(seed ^ 0x5EEDF00Dull);
    m_maleGivenNames = givenNamePool(pools, words::maleNameCharacters());
    m_femaleGivenNames = givenNamePool(pools, words::femaleNameCharacters());
}

QString DemoHouseholdMaker::givenName(bool male)
{
    return m_random.pick(male ? m_maleGivenNames : m_femaleGivenNames);
}

QString DemoHouseholdMaker::otherSurname(const QString &surname)
{
    const std::vector<QString> &all = words::surnames();
    // Common surnames come first in the list; the smaller of two picks favours them.
    for (;;) {
        const QString &other = all[size_t(std::min(m_random.below(int(all.size())), m_random.below(int(all.size()))))];
        if (other != surname)
            return other;
    }
}

QString DemoHouseholdMaker::education(int age)
{
    const std::vector<QString> &levels = words::educations();
    if (m_random.percent(2))
        return QString(); // some were never asked
    if (age < 13)
        return levels[0];
    if (age < 16)
        return levels[size_t(m_random.below(2))];
    if (age >= 55)
        return levels[size_t(m_random.weighted({55, 35, 9, 1}))];
    return levels[size_t(m_random.weighted({12, 40, 28, 17, 2, 1}))];
}

// 18 characters: area, birth date, a sequence number odd for men and even for women, and
// the ISO 7064 check character, so the numbers look like the real ones.
QString DemoHouseholdMaker::cardNumber(const QString &areaCode, int birthYear, bool male)
{
    const QDate birth = QDate(birthYear, 1, 1).addDays(m_random.below(365));
    int sequence = m_random.below(1000);
    if ((sequence % 2 == 1) != male)
        sequence = (sequence + 1) % 1000;
    char card[18];
    for (int i = 0; i < 6; ++i)
        card[i] = char(areaCode.at(i).unicode());
    putDigits(card + 6, birth.year(), 4);
    putDigits(card + 10, birth.month(), 2);
    putDigits(card + 12, birth.day(), 2);
    putDigits(card + 14, sequence, 3);
    static constexpr int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += (card[i] - '0') * weights[i];
    card[17] = "10X98765432"[sum % 11];
    return QString::fromLatin1(card, sizeof card);
}

DemoHouseholdMaker::Person DemoHouseholdMaker::makePerson(const QString &surname, bool male, int birthYear,
                                                          const QString &areaCode)
{
    Person person;
    person.name = surname + givenName(male);
    person.sex = male ? kMale : kFemale;
    person.card = cardNumber(areaCode, birthYear, male);
    const std::vector<QString> &nations = words::nations();
    person.nation = m_random.percent(90) ? nations[0] : nations[size_t(1 + m_random.below(15))];
    return person;
}

QString DemoHouseholdMaker::initialsOf(const QString &name)
{
    auto it = m_initials.constFind(name);
    if (it == m_initials.constEnd())
        it = m_initials.insert(name, pinyinInitials(name));
    return it.value();
}

DemoHousehold DemoHouseholdMaker::make(const DemoVillage &village)
{
    DemoRandom &r = m_random;
    DemoHousehold h;
    h.year = kFirstYear + r.weighted({8, 9, 10, 11, 12, 13, 14, 16});
    h.unit = village.name;
    h.parentUnit = village.township;

    // The family: head first, then spouse, children, parents, siblings.
    const std::vector<QString> &surnames = words::surnames();
    const QString surname = surnames[size_t(std::min(r.below(int(surnames.size())), r.below(int(surnames.size()))))];
    const bool headMale = r.percent(85);
    const int headAge = r.between(24, 82);
    const int headBirth = h.year - headAge;
    const int size = 1 + r.weighted({8, 15, 25, 25, 15, 8, 4});

    std::vector<Person> family;
    Person head = makePerson(surname, headMale, headBirth, village.areaCode);
    head.relation = QStringLiteral("户主");
    head.education = education(headAge);
    family.push_back(head);

    QString childSurname = surname;
    if (size >= 2 && r.percent(85)) {
        const int age = std::clamp(headAge + r.between(-5, 5), 20, 90);
        const QString spouseSurname = otherSurname(surname);
        Person spouse = makePerson(spouseSurname, !headMale, h.year - age, village.areaCode);
        spouse.relation = QStringLiteral("配偶");
        spouse.education = education(age);
        if (!headMale)
            childSurname = spouseSurname; // the children take their father's name
        family.push_back(spouse);
    }
    while (int(family.size()) < size) {
        const int kind = r.weighted({70, 15, 10, 5});
        int age = 0;
        Person member;
        if (kind == 0 && headAge >= 20) { // a child
            age = std::max(0, headAge - r.between(20, 40));
            const bool male = r.percent(52);
            member = makePerson(childSurname, male, h.year - age, village.areaCode);
            member.relation = male ? QStringLiteral("儿子") : QStringLiteral("女儿");
        } else if (kind == 1 && headAge <= 65) { // a parent
            age = headAge + r.between(20, 32);
            const bool male = r.percent(40);
            member = makePerson(male ? surname : otherSurname(surname), male, h.year - age, village.areaCode);
            member.relation = male ? QStringLiteral("父亲") : QStringLiteral("母亲");
        } else if (kind == 2) { // a brother or sister
            const int difference = r.between(1, 10) * (r.percent(50) ? 1 : -1);
            age = std::max(1, headAge + difference);
            const bool male = r.percent(50);
            member = makePerson(surname, male, h.year - age, village.areaCode);
            member.relation = difference > 0 ? (male ? QStringLiteral("兄") : QStringLiteral("姐"))
                                             : (male ? QStringLiteral("弟") : QStringLiteral("妹"));
        } else {
            age = r.between(1, 80);
            member = makePerson(otherSurname(surname), r.percent(50), h.year - age, village.areaCode);
            member.relation = QStringLiteral("其它");
        }
        member.education = education(age);
        family.push_back(member);
    }

    h.headName = head.name;
    h.headInfo = head.name + kDash + head.sex + kDash + head.card + kDash + head.education;
    h.initials = initialsOf(head.name);
    h.members.reserve(64 * int(family.size()));
    for (const Person &p : family) {
        if (!h.members.isEmpty())
            h.members += u',';
        h.members +=
            p.name + kDash + p.sex + kDash + p.card + kDash + p.relation + kDash + p.nation + kDash + p.education;
    }

    static const QString categories[] = {QStringLiteral("扶贫户"), QStringLiteral("低保户"), QStringLiteral("三无"),
                                         QStringLiteral("非贫困人口")};
    const int category = r.weighted({15, 10, 3, 72});
    h.category = categories[category];
    const bool poor = category != 3;

    h.familyPlanning = r.percent(70);
    h.medicalCare = r.percent(92);
    h.pensionInsurance = r.percent(60);
    static const double amounts[] = {100, 200, 300, 500, 1000, 1500, 2000};
    h.pensionAmount = h.pensionInsurance ? amounts[r.below(7)] : 0.0;
    h.allowanceLastYear = category == 1 || category == 2 ? 12.0 * r.between(100, 450) : 0.0;
    h.annualIncome = poor ? 100.0 * r.between(20, 150) : 100.0 * r.between(150, 1200) + 0.5 * r.below(2);

    h.phone = r.percent(90) ? QStringLiteral("1") + QLatin1Char("35789"[r.below(5)]) + digits(r, 9) : QString();
    if (r.percent(88)) {
        h.bank = words::banks()[size_t(r.weighted({40, 25, 20, 8, 7}))];
        h.bankAccount = QStringLiteral("6228") + digits(r, 15);
    }
    static const QString healthStates[] = {QStringLiteral("健康"), QStringLiteral("传染病"), QStringLiteral("慢性疾病"),
                                           QStringLiteral("先天疾病")};
    h.health = healthStates[r.weighted({80, 2, 13, 5})];
    h.offence = r.percent(3);
    if (h.offence)
        h.offenceKind = r.pick(words::offences());
    h.disabled = r.percent(h.health == healthStates[3] ? 60 : 4);
    h.partyMember = r.percent(8);
    if (h.partyMember) {
        const int joinYear = std::min(h.year - 1, headBirth + r.between(20, 40));
        h.partyJoined = storedDateTime(QDate(joinYear, 1 + r.below(12), 1 + r.below(28)), 0);
        h.partyPost = words::partyPosts()[size_t(r.weighted({25, 20, 30, 25}))];
    }
    h.petitioner = r.percent(2);

    // Saved on a working day's hours some time before December.
    const QDate saved = QDate(h.year, 1, 1).addDays(r.below(334));
    h.savedAt = storedDateTime(saved, r.between(8 * 3600, 18 * 3600 - 1));

    const int workers = std::max(1, int(std::count_if(family.begin(), family.end(),
                                                      [&](const Person &p) {
                                                          return p.relation != QStringLiteral("儿子") &&
                                                                 p.relation != QStringLiteral("女儿");
                                                      })) -
                                        (headAge > 65 ? 1 : 0));
    if (r.percent(85)) {
        h.situation = QStringLiteral("家庭人口%1人，劳动力%2人。").arg(family.size()).arg(workers);
        if (poor)
            h.situation += QStringLiteral("\n致贫原因：") + r.pick(words::hardships()) + QStringLiteral("。");
        if (r.percent(30))
            h.situation += QStringLiteral("\n住房为砖混结构，%1年建成。").arg(r.between(1985, h.year - 1));
    }
    const int keywordCount = r.weighted({35, 40, 20, 5});
    QStringList keywords;
    while (int(keywords.size()) < keywordCount) {
        const QString &word = r.pick(words::keywords());
        if (!keywords.contains(word))
            keywords << word;
    }
    h.keywords = keywords.join(QLatin1Char(','));
    h.address = village.address + QStringLiteral("%1组%2号").arg(r.between(1, 12)).arg(r.between(1, 80));
    h.business = r.percent(75) ? r.pick(words::businesses()) : QString();
    return h;
}

} // namespace fenlark::dbtool
