#pragma once

#include <QString>

namespace fenlark {

struct AppState;
class RecordSet;
class TreeBox;

// Rebuilds the region tree and state.villageNames from 区域管理, read level by level
// ("标识 ASC") through mainSet. Units of state.topRegionLevel become the roots; a deeper unit
// goes below the first item, in index order, whose text is its 直属管辖, and is left out (with
// everything below it) when there is none. Every level-5 unit enters villageNames, shown or not.
// Called at start-up, on the switch to the household page and after the region entry window.
void buildRegionTree(AppState &state, RecordSet &mainSet, TreeBox &tree);

// Expands every item that has children (after a rebuild from the page switch or the region
// entry window; start-up leaves the tree collapsed).
void expandRegionTree(TreeBox &tree);

// The parent unit a household of `unit` is saved under: the text of the parent of the first
// item, in index order, whose text is unit; "" when no item has that text or it is a root.
QString parentUnitOf(const TreeBox &tree, const QString &unit);

} // namespace fenlark
