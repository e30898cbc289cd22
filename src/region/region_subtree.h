#pragma once

#include "region/region_entry_store.h"

#include <QString>

#include <vector>

namespace fenlark {

class DBConnection;

// What lies below a unit and what refers to it. Units name their parent by its name and
// households their village and its township by name, so these follow the names exactly as
// the region tree does: a sub-unit is a unit of a deeper level whose 直属管辖 is the unit's
// name; a household belongs to a unit when its 所属管辖 is the unit's name and its 上级管辖 is
// the unit's parent (or names no other unit of that name, so an out-of-date 上级管辖 still
// counts for the only unit it can mean).

// The households that belong to the unit itself.
qint64 householdsOfUnit(DBConnection &connection, const StoredRegionUnit &unit);

// Every unit below, at every level, parents before their sub-units.
std::vector<StoredRegionUnit> unitsBelow(DBConnection &connection, const StoredRegionUnit &unit);

struct RegionSubtree {
    std::vector<StoredRegionUnit> units; // below the unit, parents first
    qint64 households = 0;               // of the unit and of every unit below it
};
RegionSubtree regionSubtree(DBConnection &connection, const StoredRegionUnit &unit);

// Deletes the unit and the sub-units the clerk was asked about, in one transaction that counts
// again first: the questions wait on the clerk, and meanwhile a clerk elsewhere (on the county
// server) may have saved a household under one of them or added a sub-unit. Nothing is deleted
// then, so no household is left under a unit that no longer exists.
enum class RegionDeletion { Deleted, HouseholdsBelow, SubUnitsChanged, Refused };
struct RegionDeletionResult {
    RegionDeletion outcome = RegionDeletion::Refused;
    RegionSubtree now; // what lies below the unit as counted inside the transaction
};
RegionDeletionResult deleteEmptyRegionSubtree(DBConnection &connection, const StoredRegionUnit &unit,
                                              const std::vector<StoredRegionUnit> &askedSubUnits);

// What a change of a unit's name or parent would leave pointing at the old name.
struct RegionReferences {
    qint64 subUnits = 0;          // sub-units whose 直属管辖 is the old name
    qint64 ownHouseholds = 0;     // households of the unit itself (所属管辖, 上级管辖)
    qint64 subUnitHouseholds = 0; // households of its sub-units (上级管辖 is the old name)
    bool any() const { return subUnits > 0 || ownHouseholds > 0 || subUnitHouseholds > 0; }
};
RegionReferences referencesToChange(DBConnection &connection, const StoredRegionUnit &unit, const RegionUnit &changed);

// Brings everything counted by referencesToChange over to the changed name and parent, inside
// the caller's transaction (it opens its own savepoint). False when the store refuses.
bool carryRegionChange(DBConnection &connection, const StoredRegionUnit &unit, const RegionUnit &changed);

} // namespace fenlark
