#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace fenlark {

// The unit and entry year the household list shows (of its last load).
struct Selection {
    qint32 year = 0;
    QString unit;
    // The parent unit the list showed the unit under (its tree item's parent): two villages of
    // one name under two townships are told apart by it.
    QString parent = {};
};

// The one record of application-wide state, alive for the whole run. Windows share it; each
// field says who changes it.
struct AppState {
    QString versionText;                       // "1.0" once start-up has set it
    // Folder of the register in use (set by start-up): the logo, backups and exports go beside it.
    QString registerFolder;
    // The open register was made by `fenlark-db demo` (set by start-up; the title says so).
    bool demoRegister = false;
    int topRegionLevel = 0;                         // level whose units are the tree's roots (2 after start-up)
    Selection currentSelection;                     // unit and year of the last household-list load
    QStringList villageNames;                       // level-5 unit names, refilled by every tree build
    QStringList villageParents;                     // their 直属管辖, in the same order (same build)
    std::array<double, 13> householdColumnRatios{}; // column width / grid width of the household list
    std::array<double, 3> regionColumnRatios{};     // the same for the region list
    int currentPage = 0;                            // paging state of the household list
    int pageCount = 0;
    int householdCount = 0;
    int savedTreeItem = 0;
    QString editMode;       // "添加", "修改" or empty: the open entry window's mode
    QString loadedHeadName; // head name of the household opened for modification
    int regionEditRow = 0;  // region-list row being modified
    QString regionEditName; // that unit's name when the window opened
};

inline const QString kEditModeAdd = QStringLiteral("添加");
inline const QString kEditModeModify = QStringLiteral("修改");

} // namespace fenlark
