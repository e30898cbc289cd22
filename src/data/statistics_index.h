#pragma once

#include <QString>

namespace fenlark::statisticsIndex {

// The indexes the statistics count from. The first holds every household's 所属管辖, 上级管辖,
// 农户属性 and 录入年份, then its six yes/no columns packed two to a value: each pack is one
// indexed expression, so a count sums three stored integers per household and the store reads
// them in grouping order without touching the table.
//
// The packs count the values every save writes, integers, exactly (not 0 is yes). A value of any
// other kind (a fraction, a word such as 'TRUE', a BLOB) counts as no in a pack; the second,
// partial index lists just the households holding one, so the count reads those few rows and
// settles them as the record layer reads them.
inline const QString name = QStringLiteral("成员信息_计数");
inline const QString oddValuesName = QStringLiteral("成员信息_计数_异值");
// The statistics index of earlier versions (the six yes/no columns unpacked). A register that
// still has it gets the packed one and loses this one when it is next opened for writing.
inline const QString retiredName = QStringLiteral("成员信息_统计");

// The six yes/no columns in pack order: pack n holds flag 2n in its low 31 bits and flag 2n+1
// from bit 31 up. A summed pack splits into two exact counts as long as a group has fewer than
// 2^31 households.
inline constexpr int kPackCount = 3;
inline constexpr int kPackShift = 31;
const QString &flagColumn(int flag); // 是否合作医疗, 是否养老保险, 是否残疾, 是否党员, 是否上访户, 是否违法

// The expression of pack n, exactly as the index holds it: a query must use this text for the
// store to read the indexed value.
QString packedFlags(int pack);

// True for a household whose yes/no columns hold a value that is neither an integer nor NULL,
// exactly as the partial index's condition, so a query using it reads that index.
QString oddFlagsCondition();

// The CREATE statements of both indexes, each with its terminating ";\n".
QString createSql();

} // namespace fenlark::statisticsIndex
