#pragma once

#include "data/record_set.h"
#include "household/household_checks.h"
#include "household/household_edit_context.h"
#include "household/member_grid.h"
#include "region/unit_choice.h"
#include "ui/window_builder.h"

#include <QDialog>

#include <vector>

namespace fenlark {

struct AppState;
struct HouseholdRecord;
class Button;
class CheckBox;
class ComboBox;
class DatePicker;
class DBConnection;
class Dialogs;
class EditBox;
class EGrid;
class Label;
class PopupMenu;
class RadioBox;
class SuperBtn;

// The household form ("添加成员信息 " / "修改成员信息 "), borderless with its own title strip. The
// mode comes from AppState::editMode when the window is created; destroying the window empties
// editMode and closes its record set. A save that passes its checks and is stored closes it.
class HouseholdEditWindow : public QDialog {
    Q_OBJECT
public:
    HouseholdEditWindow(AppState &state, DBConnection &connection, Dialogs &dialogs,
                        const HouseholdEditContext &context, QWidget *parent = nullptr);
    ~HouseholdEditWindow() override;

    const BuiltWindow &built() const { return m_built; }
    EGrid &memberGrid() const { return *m_members; }
    // True when the modify load found the household of the list row.
    bool loadedHousehold() const { return m_loaded; }
    const memberGrid::LoadReport &loadReport() const { return m_loadReport; }

    // 按钮_保存: checks, stores, updates the household list, registers the year, closes.
    void save();
    // 按钮_帮助: the household-attribute help window, modally.
    void showHelp();
    // 按钮_打印: the household as the form shows it, printed as a one-page card.
    void printCard();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void findControls();
    void connectEvents();
    void loadHousehold();
    void fillForm(const HouseholdRecord &record);
    HouseholdFormState formState() const;
    bool gatherRecord(HouseholdRecord &record);
    bool store(const HouseholdRecord &record);
    void refuseChangedElsewhere(); // tells the clerk the household was saved by another meanwhile
    void updateList(const HouseholdRecord &record, const QString &headCard);
    QString parentUnitOf(const QString &unit) const;
    // The village chosen in 组合框3 (name and parent; both "" when none is chosen).
    UnitChoice chosenUnit() const;
    void selectUnit(const QString &name, const QString &parent);
    void memberMenuRequested();
    void memberCellEdited();
    bool confirmMemberCards();

    AppState &m_state;
    DBConnection &m_connection;
    Dialogs &m_dialogs;
    HouseholdEditContext m_context;
    RecordSet m_recordSet; // 记录集1
    BuiltWindow m_built;
    bool m_loaded = false;
    memberGrid::LoadReport m_loadReport;
    QString m_listCard;                    // 身份证 cell of the list row opened for modification
    int m_listYear = 0;                    // entry year of that row's household
    qint64 m_loadedId = 0;                 // rowid of the household loaded for modification (0: none)
    QString m_loadedVersion;               // its 版本 when loaded ("" on a register without versions)
    std::vector<UnitChoice> m_unitChoices; // the items of 组合框3, in order
    QStringList m_pristine;                // the form's values as it was opened, to tell whether Esc loses work

    Label *m_title = nullptr;            // 标签13
    SuperBtn *m_close = nullptr;         // 超级按钮1
    ComboBox *m_unit = nullptr;          // 组合框3 直属管辖
    ComboBox *m_category = nullptr;      // 组合框1 农户属性
    RadioBox *m_planningYes = nullptr;   // 单选框1
    RadioBox *m_planningNo = nullptr;    // 单选框2
    RadioBox *m_medicalYes = nullptr;    // 单选框4
    RadioBox *m_medicalNo = nullptr;     // 单选框3
    RadioBox *m_pensionYes = nullptr;    // 单选框6
    RadioBox *m_pensionNo = nullptr;     // 单选框5
    EditBox *m_pensionAmount = nullptr;  // 编辑框2
    EditBox *m_allowance = nullptr;      // 编辑框11
    EGrid *m_members = nullptr;          // 高级表格1
    EditBox *m_address = nullptr;        // 编辑框9
    EditBox *m_phone = nullptr;          // 编辑框12
    ComboBox *m_business = nullptr;      // 组合框5
    EditBox *m_income = nullptr;         // 编辑框14
    ComboBox *m_bank = nullptr;          // 组合框2
    EditBox *m_account = nullptr;        // 编辑框1
    RadioBox *m_health[4] = {};          // 单选框8, 7, 9, 10: 健康, 传染病, 慢性疾病, 先天疾病
    CheckBox *m_offence = nullptr;       // 选择框1
    ComboBox *m_offenceKind = nullptr;   // 组合框6
    CheckBox *m_disabled = nullptr;      // 选择框2
    CheckBox *m_petitioner = nullptr;    // 选择框4
    EditBox *m_situation = nullptr;      // 编辑框10
    EditBox *m_keywords = nullptr;       // 编辑框13
    CheckBox *m_party = nullptr;         // 选择框3
    DatePicker *m_partyJoined = nullptr; // 日期框1
    ComboBox *m_partyPost = nullptr;     // 组合框4
    Button *m_save = nullptr;            // 按钮_保存
    Button *m_help = nullptr;            // 按钮_帮助
    Button *m_print = nullptr;           // 按钮_打印
    PopupMenu *m_menu = nullptr;         // the member grid's "删除"
};

} // namespace fenlark
