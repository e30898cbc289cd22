#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace fenlark {

class Dialogs;
class EGrid;

// The family-member grid of the household form (高级表格1): a header row and seven member rows,
// columns 姓名, 性别, 身份证号, 文化程度, 与户主关系, 民族. The members are not a table of their own:
// a save packs them into the household's row, a load unpacks them from 家庭人员信息.
namespace memberGrid {

inline constexpr int kMemberRows = 7;
inline constexpr int kNameColumn = 0;
inline constexpr int kSexColumn = 1;
inline constexpr int kCardColumn = 2;
inline constexpr int kEducationColumn = 3;
inline constexpr int kRelationColumn = 4;
inline constexpr int kNationColumn = 5;

// The choices of the drop-down columns, held as the program always has: "," between the items,
// the nationalities "\r\n" between theirs.
QString sexList();
QString educationList();
QString relationList();
QString nationList();
// The items of a column's list, empty for the free-text columns 0 and 2.
QStringList columnItems(int column);

inline const QString headRelation = QStringLiteral("户主");

// Creation of the window: headers, centred header row, widths of columns 1 to 5 and the
// drop-down editors of columns 3, 1, 4 and 5.
void setUp(EGrid &grid);

// After an edit: a cursor cell holding the position number of one of its column's items
// (1 for the first) takes that item's text; anything else stays as it is.
void normaliseCursorCell(EGrid &grid);

// Menu "删除": empties the six cells of the cursor row, or says there is no row to clear.
void clearCursorRow(EGrid &grid, Dialogs &dialogs, QWidget *parent);

// What a load could not put into the grid: entries beyond the seventh row, and fields beyond
// the sixth of an entry. The next save rewrites 家庭人员信息 from the grid alone, so these are lost.
struct LoadReport {
    int entriesShown = 0;
    int entriesDropped = 0;
    int fieldsDropped = 0;
    bool lostSomething() const { return entriesDropped > 0 || fieldsDropped > 0; }
};

// Unpacks a stored 家庭人员信息 into the member rows, from row 1 on (rows without an entry are
// left as they are). Entries with fewer than six fields fill what they have.
LoadReport load(EGrid &grid, const QString &packed);

// The member rows packed for the save. On failure `message` says which member and what is wrong,
// and nothing else is set.
struct Packed {
    bool ok = false;
    QString message;
    QString headName;
    QString headCard;
    QString headInfo; // name-sex-card-education of the head row
    QString members;  // 家庭人员信息
};
Packed pack(const EGrid &grid);

// Member rows (named or not) whose 与户主关系 is exactly "户主".
int headCount(const EGrid &grid);

// Whether a member row whose 与户主关系 is exactly "户主" has an empty name.
bool hasNamelessHead(const EGrid &grid);

// The grid's member rows: its row count without the header row.
int memberRowCount(const EGrid &grid);

} // namespace memberGrid
} // namespace fenlark
