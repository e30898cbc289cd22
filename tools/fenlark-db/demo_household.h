#pragma once

#include "demo_random.h"

#include <QHash>
#include <QString>

#include <vector>

namespace fenlark::dbtool {

struct DemoVillage;

// The values of one row of 成员信息, members already packed.
struct DemoHousehold {
    int year = 0;
    QString unit;
    QString parentUnit;
    QString headName;
    QString headInfo;
    QString initials;
    QString category;
    bool familyPlanning = false;
    bool medicalCare = false;
    bool pensionInsurance = false;
    double pensionAmount = 0;
    double allowanceLastYear = 0;
    double annualIncome = 0;
    QString members;
    QString phone;
    QString bank;
    QString bankAccount;
    QString health;
    bool offence = false;
    QString offenceKind;
    bool disabled = false;
    bool partyMember = false;
    QString partyJoined; // stored date-time text; empty when not a party member
    QString partyPost;
    bool petitioner = false;
    QString savedAt; // stored date-time text
    QString situation;
    QString keywords;
    QString address;
    QString business;
};

// Makes one household after another from its own random sequence.
class DemoHouseholdMaker {
public:
    static constexpr int kFirstYear = 2019;
    static constexpr int kLastYear = 2026;

    explicit DemoHouseholdMaker(quint64 seed);

    DemoHousehold make(const DemoVillage &village);

private:
    struct Person;
    Person makePerson(const QString &surname, bool male, int birthYear, const QString &areaCode);
    QString givenName(bool male);
    QString education(int age);
    QString cardNumber(const QString &areaCode, int birthYear, bool male);
    QString otherSurname(const QString &surname);
    QString initialsOf(const QString &name);

    DemoRandom m_random;
    std::vector<QString> m_maleGivenNames;
    std::vector<QString> m_femaleGivenNames;
    QHash<QString, QString> m_initials; // by head name: the transliteration is the slow part
};

} // namespace fenlark::dbtool
