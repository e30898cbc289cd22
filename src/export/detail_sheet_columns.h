#pragma once

#include <QString>

#include <array>

namespace fenlark {

// One column of the poor-household detail sheet, as the workbook and the printed page both lay
// it out: the printed sheet must look like the exported one, so they share this one table.
struct DetailSheetColumn {
    double width;  // in characters of the sheet's standard font
    bool checkBox; // shown as "√" or "×"
};

// The sheet's name and the title over its columns, and the title's font size.
inline QString detailSheetTitle()
{
    return QStringLiteral("贫农明细表");
}
inline constexpr double kDetailSheetTitleSize = 24;

// Columns A to M, one per list column.
inline constexpr std::array<DetailSheetColumn, 13> kDetailSheetColumns{{
    {4, false},  // N
    {9, false},  // 户主
    {20, false}, // 身份证
    {20, false}, // 所属管辖
    {10, false}, // 农户属性
    {10, true},  // 计划生育户
    {10, true},  // 合作医疗
    {10, true},  // 养老保险
    {10, false}, // 健康状况
    {10, true},  // 违法违纪
    {10, true},  // 是否残疾
    {10, true},  // 是否党员
    {18, false}, // 最后更新时间
}};
inline constexpr int kDetailSheetColumnCount = int(kDetailSheetColumns.size());

} // namespace fenlark
