#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fenlark {

// A village offered by name where a household's unit is chosen: 直属管辖 of the household form
// and 查询区域 of the query window. Village names repeat across townships (新村, 红旗村), so a
// name that is offered more than once shows its township: "新村（李杨镇）".
struct UnitChoice {
    QString name;          // 单位名称
    QString parent;        // its 直属管辖
    QString label;         // what the list shows
    bool repeated = false; // another village of the list has the same name
};

// The choices for villageNames and villageParents (same order, as the tree build fills them).
// Without a parent for every name, equal names are offered as they are, each parent empty.
std::vector<UnitChoice> villageChoices(const QStringList &names, const QStringList &parents);

// The index of the first choice of that name and, when parent is given, that parent; -1 when
// none. Of several equal choices `last` picks the last one instead.
int findUnitChoice(const std::vector<UnitChoice> &choices, const QString &name, const std::optional<QString> &parent,
                   bool last = false);

} // namespace fenlark
