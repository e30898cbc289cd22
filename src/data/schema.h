#pragma once

#include <QString>

namespace fenlark::schema {

// Table and column names exactly as every stored register spells them
// (违法形为 and 银行帐号 included: files in use depend on these spellings).
namespace households {
inline const QString table = QStringLiteral("成员信息");
inline const QString id = QStringLiteral("id");
inline const QString entryYear = QStringLiteral("录入年份");
inline const QString unit = QStringLiteral("所属管辖");
inline const QString parentUnit = QStringLiteral("上级管辖");
inline const QString headName = QStringLiteral("户主");
inline const QString headInfo = QStringLiteral("户主信息");
inline const QString initials = QStringLiteral("首拼音");
inline const QString category = QStringLiteral("农户属性");
inline const QString familyPlanning = QStringLiteral("是否计划生育");
inline const QString medicalCare = QStringLiteral("是否合作医疗");
inline const QString pensionInsurance = QStringLiteral("是否养老保险");
inline const QString pensionAmount = QStringLiteral("社保缴纳金额");
inline const QString allowanceLastYear = QStringLiteral("上年度领取的低保金");
inline const QString annualIncome = QStringLiteral("年收入");
inline const QString members = QStringLiteral("家庭人员信息");
inline const QString phone = QStringLiteral("联系电话");
inline const QString bank = QStringLiteral("开户银行");
inline const QString bankAccount = QStringLiteral("银行帐号");
inline const QString health = QStringLiteral("健康状况");
inline const QString offence = QStringLiteral("是否违法");
inline const QString offenceKind = QStringLiteral("违法形为");
inline const QString disabled = QStringLiteral("是否残疾");
inline const QString partyMember = QStringLiteral("是否党员");
inline const QString partyJoined = QStringLiteral("入党时间");
inline const QString partyPost = QStringLiteral("党内职务");
inline const QString petitioner = QStringLiteral("是否上访户");
inline const QString savedAt = QStringLiteral("录入时间");
inline const QString situation = QStringLiteral("家庭状况");
inline const QString keywords = QStringLiteral("标签");
inline const QString address = QStringLiteral("家庭住址");
inline const QString business = QStringLiteral("家庭经营");
} // namespace households

namespace regions {
inline const QString table = QStringLiteral("区域管理");
inline const QString level = QStringLiteral("标识");
inline const QString levelName = QStringLiteral("区域");
inline const QString name = QStringLiteral("单位名称");
inline const QString parent = QStringLiteral("直属管辖");
} // namespace regions

namespace years {
inline const QString table = QStringLiteral("年份管理");
inline const QString year = QStringLiteral("年份");
} // namespace years

// The declared column types the record layer maps onto its kinds:
// INTEGER → integer, BOOLEAN → yes/no, DOUBLE → number, DATETIME → date-time, TEXT → text.
// Date-times are stored as "YYYY-MM-DD HH:MM:SS" text.
QString createTablesSql();

// Indexes the list, search and query rely on to avoid reading the whole table. Safe to run
// on a file that has some or all of them already.
QString createIndexesSql();

} // namespace fenlark::schema
