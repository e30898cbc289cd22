#pragma once

#include <QString>

namespace fenlark {

class RecordSet;

// One household as its row of 成员信息 holds it: the thirty columns a save writes.
struct HouseholdRecord {
    QString initials;   // 首拼音
    int entryYear = 0;  // 录入年份
    QString unit;       // 所属管辖
    QString parentUnit; // 上级管辖
    QString headName;   // 户主
    QString headInfo;   // 户主信息
    QString category;   // 农户属性
    bool familyPlanning = false;
    bool medicalCare = false;
    bool pensionInsurance = false;
    double pensionAmount = 0.0;
    double allowanceLastYear = 0.0;
    QString members; // 家庭人员信息
    QString phone;
    QString bank;
    QString bankAccount;
    QString health;
    bool offence = false;
    QString offenceKind;
    bool disabled = false;
    bool partyMember = false;
    bool petitioner = false;
    double savedAt = 0.0; // day count
    QString situation;
    QString keywords;
    QString address;
    QString business;
    double annualIncome = 0.0;
    double partyJoined = 0.0; // written only for a party member
    QString partyPost;        // likewise
};

// The criterion that finds a head by name. A quote inside the name is doubled so the literal
// stays one text and such a household can be found again.
QString headCriterion(const QString &headName);
QString yearCriterion(int year);

// The third "-" part of 户主信息 (the head's card number); nothing when it has fewer parts.
bool headCardOf(const QString &headInfo, QString &card);

// Opens the households of the year on set and moves to the first one whose 户主, 所属管辖 and
// head card number are these. True when the set stands on it (the set stays open either way).
bool locateHousehold(RecordSet &set, int year, const QString &headName, const QString &unit, const QString &headCard);

// Reads the row the set stands on (the party columns too, whatever 是否党员 holds).
void readHousehold(RecordSet &set, HouseholdRecord &record);

// Writes the thirty columns in their order into the row being added or the current row and
// stores it. False when any write or the store failed.
bool writeHousehold(RecordSet &set, const HouseholdRecord &record);

// Makes sure 年份管理 lists the year: adds it once when it is missing. False when it is missing
// and could not be added.
bool registerYear(RecordSet &set, int year);

} // namespace fenlark
