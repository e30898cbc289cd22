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

int levelCode(const QString &levelName)
{
    static const QString names[] = {QStringLiteral("国家"), QStringLiteral("省"), QStringLiteral("市"),
                                    QStringLiteral("乡镇"), QStringLiteral("村委会")};
    for (int i = 0; i < 5; ++i) {
        if (names[i] == levelName)
            return i + 1;
    }
    return 0;
}

QString trimUnitName(const QString &typed)
{
    qsizetype end = typed.size();
    while (end > 0 && (typed.at(end - 1) == u' ' || typed.at(end - 1) == QChar(0x3000)))
        --end;
    return typed.left(end);
}

bool hasControlCharacters(const QString &name)
{
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

bool isBlankName(const QString &typed)
{
    return trimUnitName(typed).isEmpty();
}

QString describeUnit(const QString &levelName, const QString &name, const QString &parent)
{
    QString text = levelName.isEmpty() ? name : levelName + u' ' + name;
    if (!parent.isEmpty())
        text += QStringLiteral("（上级管辖：") + parent + QStringLiteral("）");
    return text;
}

QString checkRegionEntryForm(const RegionEntryForm &form)
{
    if (form.levelIndex < 0)
        return regionText::levelRequired;
    if (isBlankName(form.typedName))
        return regionText::nameRequired;
    if (hasControlCharacters(form.typedName))
        return regionText::badCharacters;
    // The first level item is "国家", the only level without a parent.
    if (form.levelIndex != 0 && (form.parentIndex < 0 || form.parentText.isEmpty()))
        return regionText::parentRequired;
    return {};
}

} // namespace fenlark
