#include "region/unit_choice.h"

#include <QHash>

namespace fenlark {

std::vector<UnitChoice> villageChoices(const QStringList &names, const QStringList &parents)
{
    // Without a parent for every name there is nothing to tell equal names apart by.
    const bool withParents = parents.size() == names.size();
    QHash<QString, int> uses;
    for (const QString &name : names)
        ++uses[name];
    std::vector<UnitChoice> choices;
    choices.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        UnitChoice choice;
        choice.name = names.at(i);
        choice.parent = i < parents.size() ? parents.at(i) : QString();
        choice.repeated = withParents && uses.value(choice.name) > 1;
        choice.label =
            choice.repeated ? choice.name + QStringLiteral("（") + choice.parent + QStringLiteral("）") : choice.name;
        choices.push_back(std::move(choice));
    }
    return choices;
}

int findUnitChoice(const std::vector<UnitChoice> &choices, const QString &name, const std::optional<QString> &parent,
                   bool last)
{
    int found = -1;
    for (int i = 0; i < int(choices.size()); ++i) {
        if (choices[size_t(i)].name != name || (parent && choices[size_t(i)].parent != *parent))
            continue;
        found = i;
        if (!last)
            break;
    }
    return found;
}

} // namespace fenlark
