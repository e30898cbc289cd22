#include "region/region_entry_rules.h"

namespace fenlark {

QString parentLevelName(const QString &levelName)
{
    static const QString pairs[][2] = {
        {QStringLiteral("省"), QStringLiteral("国家")},
        {QStringLiteral("市"), QStringLiteral("省")},
        {QStringLiteral("乡镇"), QStringLiteral("市")},
        {QStringLiteral("村委会"), QStringLiteral("乡镇")},
    };
    for (const auto &pair : pairs) {
        if (pair[0] == levelName)
            return pair[1];
    }
    return {};
}

QString trimUnitName(const QString &typed)
{
    qsizetype end = typed.size();
    while (end > 0 && (typed.at(end - 1) == u' ' || typed.at(end - 1) == QChar(0x3000)))
        --end;
    return typed.left(end);
}

QString unitNameCriterion(const QString &name)
{
    QString literal = name;
    literal.replace(u'\'', QStringLiteral("''"));
    return QStringLiteral("单位名称='") + literal + u'\'';
}

QString checkRegionEntryForm(const RegionEntryForm &form)
{
    if (form.levelIndex < 0)
        return regionText::levelRequired;
    if (form.typedName.isEmpty())
        return regionText::nameRequired;
    // The first level item is "国家", the only level without a parent.
    if (form.levelIndex != 0 && (form.parentIndex < 0 || form.parentText.isEmpty()))
        return regionText::parentRequired;
    return {};
}

} // namespace fenlark
