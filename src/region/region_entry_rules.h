#pragma once

#include <QString>

namespace fenlark {

// The five levels of the region hierarchy: the code stored in 标识 and the name stored in 区域.
inline constexpr int kCountryLevel = 1;
inline constexpr int kTownshipLevel = 4;
inline constexpr int kVillageLevel = 5;

// The level code of a level name ("国家" 1 … "村委会" 5), 0 for any other text.
int levelCode(const QString &levelName);

// The level name whose units may be the parent of a unit of level `levelName`: "国家" for
// "省", "省" for "市", "市" for "乡镇", "乡镇" for "村委会"; "" for "国家" or an unknown name.
QString parentLevelName(const QString &levelName);

// The name as it is stored: the ASCII blanks and double-byte blanks "　" at its end removed;
// leading blanks, line breaks and inner blanks stay.
QString trimUnitName(const QString &typed);

// True when the name holds a line break, a tab or another control character: such a name
// looks like another unit's in every list and is refused.
bool hasControlCharacters(const QString &name);

// True when nothing but blanks (ASCII and double-byte "　") is left: no name at all.
bool isBlankName(const QString &typed);

// A unit as the user reads it in a question: level, name and, when it has one, its parent
// ("村委会 新村（上级管辖：李杨镇）").
QString describeUnit(const QString &levelName, const QString &name, const QString &parent);

// What the entry window's confirm button checks, as the user left the form.
struct RegionEntryForm {
    int levelIndex = -1;  // selected item of the level list, -1 when none
    QString typedName;    // the name box as typed
    int parentIndex = -1; // selected item of the parent list, -1 when none
    QString parentText;   // its text
};

// The message of the first check the form fails ("" when it passes them all): a level, a
// name that is more than blanks and holds no line break or tab, and a parent for every level
// but "国家".
QString checkRegionEntryForm(const RegionEntryForm &form);

// The texts the user sees.
namespace regionText {
inline const QString entryTitle = QStringLiteral("地区录入");
inline const QString modifyTitle = QStringLiteral("地区修改");
inline const QString levelRequired = QStringLiteral("所属匹配为必填项!");
inline const QString nameRequired = QStringLiteral("单位名称为必填项!");
inline const QString parentRequired = QStringLiteral("上级管辖不得为空!");
inline const QString badCharacters = QStringLiteral("单位名称不能包含换行符或制表符!");
inline const QString duplicateName = QStringLiteral(" 当前单位名称已存在,不可重复录入!");
inline const QString ambiguousParentName = QStringLiteral(
    "已有同名的国家、省、市或乡镇单位。下级单位和农户只记上级单位的名称,无法区分同名的两个,请换一个名称!");
inline const QString saveFailed = QStringLiteral("单位未能保存到数据库,请稍后重试!");
inline const QString chooseRowToModify = QStringLiteral("请选择需要修改的行!");
inline const QString chooseRowToDelete = QStringLiteral("请选择需要删除的行!");
inline const QString confirmDeletion = QStringLiteral("删除后将不能被恢复,请确认是否继续删除!");
inline const QString deleteFailed = QStringLiteral("单位未能从数据库删除,请稍后重试!");
inline const QString subUnitsChanged =
    QStringLiteral("该单位的下级单位刚被其他人改动,没有删除任何单位!\n请重新选择该单位,确认要删除的下级单位后再删除。");
} // namespace regionText

} // namespace fenlark
