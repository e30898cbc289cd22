#pragma once

#include <QList>
#include <QString>

#include <functional>

// The check of a register file a clerk can act on: SQLite's integrity check, the three tables
// with their columns and kinds, and the register's own consistency (units and households that
// the tree, the list or the edit window would not show or would show wrongly).
namespace fenlark::maintenance {

struct Finding {
    enum Kind {
        Damaged,         // PRAGMA integrity_check reports a problem
        Schema,          // a table or column missing, or a column of another kind
        HouseholdUnit,   // a household's 所属管辖 is not a village committee in 区域管理
        HouseholdParent, // its 上级管辖 is not the 直属管辖 of that village committee
        UnitHidden,      // a unit whose parent is missing: it is not shown in the tree
        UnitRepeated,    // one name twice under the same parent
        UnitNameBad,     // a name with a line break, or only blanks
        UnitLevelBad,    // 标识 not one of the five levels
        ValueKind,       // a stored value of the wrong kind (text in a yes/no or number column)
        Blob,            // a BLOB where the register keeps texts and numbers
        BadUtf8,         // text that is not valid UTF-8
        EmptyHead,       // a household row with an empty 户主
        More,            // "and N more of the kind above", when a kind has very many
    };
    Kind kind;
    QString text;
};

struct CheckReport {
    bool readable = true; // false: the file could not be read at all (reason says why)
    QString reason;
    QList<Finding> findings;
    qint64 problemCount = 0; // every problem found, those summed up in a More finding too
    bool clean() const { return readable && findings.isEmpty(); }
};

// Findings of one kind beyond this are summed up in one "More" finding.
inline constexpr int kFindingsPerKind = 200;

// percent runs from 0 to 100 as the check goes; may be empty. Opens its own read-only
// connection, so it may run on a worker thread.
using CheckProgress = std::function<void(int percent)>;
CheckReport checkRegister(const QString &path, const CheckProgress &progress = {});

} // namespace fenlark::maintenance
