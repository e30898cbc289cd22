#include "region/region_tree.h"

#include "core/app_state.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "ui/tree_box.h"

#include <QHash>
#include <QTreeWidgetItem>

#include <algorithm>
#include <deque>
#include <vector>

namespace fenlark {

namespace {

// One unit placed in the tree while it is built. Items are only ever appended as the last
// child (or last root), so an item's place among its siblings never changes, and the walk
// order of two items follows from the sibling places along their paths. That lets the build
// keep "the first item with this text" up to date in a hash without walking the tree.
struct Node {
    Node *parent = nullptr;
    int level = 0;
    int place = 0; // among its siblings (roots: among the roots)
    int childCount = 0;
    QTreeWidgetItem *item = nullptr;
};

std::vector<int> pathOf(const Node *node)
{
    std::vector<int> path;
    for (; node; node = node->parent)
        path.push_back(node->place);
    return {path.rbegin(), path.rend()};
}

// True when a comes before b in the parent-before-children walk (a parent before its
// descendants, then sibling order).
bool comesBefore(const Node *a, const Node *b)
{
    const std::vector<int> pa = pathOf(a);
    const std::vector<int> pb = pathOf(b);
    return std::lexicographical_compare(pa.begin(), pa.end(), pb.begin(), pb.end());
}

} // namespace

void buildRegionTree(AppState &state, RecordSet &mainSet, TreeBox &tree)
{
    state.villageNames.clear();
    state.villageParents.clear();
    tree.clear();

    std::deque<Node> nodes; // stable addresses
    std::vector<QTreeWidgetItem *> roots;
    // For each text, the first item (in walk order) of each level that has it: a unit goes below
    // the first item with its 直属管辖 among the levels above its own, so a village that shares a
    // township's name never takes that township's villages.
    QHash<QString, std::vector<Node *>> firstWithText;
    const auto parentFor = [&](const QString &text, int level) -> Node * {
        Node *first = nullptr;
        for (Node *candidate : firstWithText.value(text)) {
            if (candidate->level < level && (!first || comesBefore(candidate, first)))
                first = candidate;
        }
        return first;
    };

    const auto place = [&](Node *parent, const QString &name, int level) {
        Node &node = nodes.emplace_back();
        node.parent = parent;
        node.level = level;
        node.item = new QTreeWidgetItem(QStringList{name});
        if (parent) {
            node.place = parent->childCount++;
            parent->item->addChild(node.item);
        } else {
            node.place = static_cast<int>(roots.size());
            roots.push_back(node.item);
        }
        std::vector<Node *> &firsts = firstWithText[name];
        const auto sameLevel =
            std::find_if(firsts.begin(), firsts.end(), [&](const Node *other) { return other->level == level; });
        if (sameLevel == firsts.end())
            firsts.push_back(&node);
        else if (comesBefore(&node, *sameLevel))
            *sameLevel = &node;
    };

    if (mainSet.openSorted(schema::regions::table, QStringLiteral("标识 ASC"))) {
        // Read into variables that outlive one record: a read that fails keeps the last value.
        int level = 0;
        QString name;
        QString parentName;
        mainSet.moveFirst();
        while (!mainSet.isAtEnd()) {
            mainSet.readInt(schema::regions::level, level);
            mainSet.readText(schema::regions::name, name);
            mainSet.readText(schema::regions::parent, parentName);
            if (level == state.topRegionLevel) {
                place(nullptr, name, level);
            } else if (level > state.topRegionLevel) {
                if (level == 5) {
                    state.villageNames.append(name);
                    state.villageParents.append(parentName);
                }
                if (Node *parent = parentFor(parentName, level))
                    place(parent, name, level);
            }
            mainSet.moveNext();
        }
    }
    mainSet.close();

    // The items go in at once, built off the widget: one model change instead of one per unit.
    QList<QTreeWidgetItem *> top(roots.begin(), roots.end());
    tree.addTopLevelItems(top);
}

void expandRegionTree(TreeBox &tree)
{
    const int count = tree.itemCount();
    for (int index = 0; index < count; ++index) {
        if (tree.hasChildren(index))
            tree.expand(index);
    }
}

QString parentUnitOf(const TreeBox &tree, const QString &unit)
{
    const int count = tree.itemCount();
    for (int index = 0; index < count; ++index) {
        if (tree.itemText(index) == unit)
            return tree.itemText(tree.parentOf(index));
    }
    return {};
}

} // namespace fenlark
