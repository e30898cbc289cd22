#include "household/member_grid.h"

#include "core/text.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"

namespace fenlark::memberGrid {

namespace {

const QString kComma = QStringLiteral(",");
const QString kLineBreak = QStringLiteral("\r\n");
const QChar kFieldSeparator = u'-';
const QChar kEntrySeparator = u',';

struct Column {
    const char16_t *header;
    int width; // 0: the grid's default width
};

constexpr Column kColumns[6] = {
    {u"姓名", 0}, {u"性别", 40}, {u"身份证号", 150}, {u"文化程度", 60}, {u"与户主关系", 80}, {u"民族", 100},
};

QString header(int column)
{
    return QString::fromUtf16(kColumns[column].header);
}

void giveList(EGrid &grid, int column)
{
    for (const QString &item : columnItems(column))
        grid.addListItem(item);
    grid.setColumnEditor(column, EGrid::ListEditor);
    grid.clearListItems();
}

bool holdsSeparator(const QString &text)
{
    return text.contains(kFieldSeparator) || text.contains(kEntrySeparator);
}

} // namespace

QString sexList()
{
    return QStringLiteral("男,女,未知");
}

QString educationList()
{
    return QStringLiteral("小学,初中,高中,大学,硕士,博士");
}

QString relationList()
{
    return QStringLiteral("户主,配偶,儿子,女儿,父亲,母亲,兄,弟,姐,妹,其它");
}

QString nationList()
{
    return QStringLiteral(
        "汉族\r\n壮族\r\n满族\r\n回族\r\n苗族\r\n维吾尔族\r\n土家族\r\n彝族\r\n蒙古族\r\n藏族\r\n"
        "布依族\r\n侗族\r\n瑶族\r\n朝鲜族\r\n白族\r\n哈尼族\r\n哈萨克族\r\n黎族\r\n傣族\r\n畲族\r\n"
        "傈僳族\r\n仡佬族\r\n东乡族\r\n高山族\r\n拉祜族\r\n水族\r\n佤族\r\n纳西族\r\n羌族\r\n土族\r\n"
        "仫佬族\r\n锡伯族\r\n柯尔克孜族\r\n达斡尔族\r\n景颇族\r\n毛南族\r\n撒拉族\r\n布朗族\r\n塔吉克族\r\n"
        "阿昌族\r\n普米族\r\n鄂温克族\r\n怒族\r\n京族\r\n基诺族\r\n德昂族\r\n保安族\r\n俄罗斯族\r\n"
        "裕固族\r\n乌孜别克族\r\n门巴族\r\n鄂伦春族\r\n独龙族\r\n塔塔尔族\r\n赫哲族\r\n珞巴族");
}

QStringList columnItems(int column)
{
    switch (column) {
    case kSexColumn:
        return sexList().split(kComma);
    case kEducationColumn:
        return educationList().split(kComma);
    case kRelationColumn:
        return relationList().split(kComma);
    case kNationColumn:
        return nationList().split(kLineBreak);
    default:
        return {};
    }
}

void setUp(EGrid &grid)
{
    for (int c = 0; c < 6; ++c)
        grid.setCell(0, c, EGrid::TextCell, header(c));
    grid.alignBlock(0, 0, 0, 5, EGrid::AlignCentre);
    for (int c = 1; c < 6; ++c)
        grid.setColumnWidth(c, kColumns[c].width);
    for (const int column : {kEducationColumn, kSexColumn, kRelationColumn, kNationColumn})
        giveList(grid, column);
}

void normaliseCursorCell(EGrid &grid)
{
    const int row = grid.cursorRow();
    const int column = grid.cursorColumn();
    const QStringList items = columnItems(column);
    if (row < 1 || items.isEmpty())
        return;
    const QString text = grid.cellText(row, column);
    for (int n = 1; n <= items.size(); ++n) {
        if (text == QString::number(n)) {
            grid.setCell(row, column, EGrid::TextCell, items.at(n - 1));
            return;
        }
    }
}

void clearCursorRow(EGrid &grid, Dialogs &dialogs, QWidget *parent)
{
    const int row = grid.cursorRow();
    if (row < 1) {
        dialogs.message(parent, QStringLiteral("请选择需要删除的行号!"), MessageIcon::Error);
        return;
    }
    for (int c = 0; c < 6; ++c)
        grid.setCell(row, c, EGrid::TextCell, QString());
}

LoadReport load(EGrid &grid, const QString &packed)
{
    LoadReport report;
    if (packed.isEmpty())
        return report;
    // Where each of the six packed fields goes: relation and nationality come before education.
    constexpr int kTarget[6] = {kNameColumn, kSexColumn, kCardColumn, kRelationColumn, kNationColumn, kEducationColumn};
    int row = 1;
    for (const QString &entry : splitFields(packed, kEntrySeparator)) {
        if (row >= grid.rowCount()) {
            ++report.entriesDropped;
            continue;
        }
        const QStringList fields = splitFields(entry, kFieldSeparator);
        if (fields.size() > 6)
            report.fieldsDropped += int(fields.size()) - 6;
        for (int f = 0; f < 6; ++f)
            grid.setCell(row, kTarget[f], EGrid::TextCell, f < fields.size() ? fields.at(f) : QString());
        grid.alignBlock(row, 0, row, 5, EGrid::AlignCentre);
        ++report.entriesShown;
        ++row;
    }
    return report;
}

Packed pack(const EGrid &grid)
{
    Packed result;
    QStringList entries;
    const int lastRow = grid.rowCount() - 1;
    for (int r = 1; r <= lastRow; ++r) {
        const QString name = grid.cellText(r, kNameColumn);
        if (name.isEmpty())
            continue;
        const QString sex = grid.cellText(r, kSexColumn);
        const QString card = grid.cellText(r, kCardColumn);
        if (gbkByteLength(card) != 18) {
            result.message = u' ' + name + QStringLiteral("身份证长度不足18位!");
            return result;
        }
        // A separator inside a cell would split the entry differently when it is read back, so
        // the member would come back with shifted fields: refuse it while the user can mend it.
        for (int c = 0; c < 6; ++c) {
            if (holdsSeparator(grid.cellText(r, c))) {
                result.message = u' ' + name + QStringLiteral("的") + header(c) +
                                 QStringLiteral("中不能含有\"-\"或\",\",请修改后再保存!");
                return result;
            }
        }
        const QString education = grid.cellText(r, kEducationColumn);
        const QString relation = grid.cellText(r, kRelationColumn);
        if (relation == headRelation) {
            result.headName = name;
            result.headCard = card;
            result.headInfo = name + u'-' + sex + u'-' + card + u'-' + education;
        }
        const QString nation = grid.cellText(r, kNationColumn);
        entries << name + u'-' + sex + u'-' + card + u'-' + relation + u'-' + nation + u'-' + education;
    }
    result.members = entries.join(kEntrySeparator);
    result.ok = true;
    return result;
}

int headCount(const EGrid &grid)
{
    int count = 0;
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cellText(r, kRelationColumn) == headRelation)
            ++count;
    }
    return count;
}

bool hasNamelessHead(const EGrid &grid)
{
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cellText(r, kRelationColumn) == headRelation && grid.cellText(r, kNameColumn).isEmpty())
            return true;
    }
    return false;
}

int memberRowCount(const EGrid &grid)
{
    return grid.rowCount() - 1;
}

} // namespace fenlark::memberGrid
