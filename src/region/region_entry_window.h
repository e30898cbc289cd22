#pragma once

#include "data/record_set.h"
#include "region/region_entry_store.h"
#include "ui/window_builder.h"

#include <QDialog>

#include <optional>

namespace fenlark {

struct AppState;
class ComboBox;
class DBConnection;
class Dialogs;
class EGrid;
class EditBox;
struct RegionReferences;

// The small modal form in which one administrative unit is added to 区域管理 ("地区录入") or
// changed in it ("地区修改"). The mode comes from AppState::editMode when the window is created;
// the window empties editMode and closes its record set when it is destroyed. On a successful
// confirm it updates the region list of the region page in place and closes.
class RegionEntryWindow : public QDialog {
    Q_OBJECT
public:
    RegionEntryWindow(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                      QWidget *parent = nullptr);
    ~RegionEntryWindow() override;

    bool isEntryMode() const { return m_entryMode; }
    const BuiltWindow &built() const { return m_built; }

    // 按钮_确认: checks the form, writes the unit, updates the list, closes.
    void confirm();

private:
    void loadUnitForModification();
    void levelChosen(int index);
    void fillParentList(const QString &levelName);
    bool refusedAsClash(const RegionUnit &unit, qint64 except);
    void addUnit(const RegionUnit &unit);
    void changeUnit(const RegionUnit &unit);

    AppState &m_state;
    DBConnection &m_connection;
    EGrid &m_regionList;
    Dialogs &m_dialogs;
    RecordSet m_recordSet; // 记录集1
    BuiltWindow m_built;
    ComboBox *m_levels = nullptr;  // 组合框1
    ComboBox *m_parents = nullptr; // 组合框2
    EditBox *m_name = nullptr;     // 编辑框1
    bool m_entryMode = true;
    std::optional<QString> m_editedParent; // 直属管辖 of the unit being modified, when known
};

// The question asked (default 是) before a change of name or parent, with what would follow it.
QString regionChangeQuestion(const StoredRegionUnit &unit, const RegionUnit &changed,
                             const RegionReferences &references);

// 按钮_添加 of the region page: opens the window in entry mode and returns when it has closed.
// The caller then rebuilds and expands the region tree, whatever happened in the window.
void openRegionEntryForAdd(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                           QWidget *parent);

// 按钮_修改 of the region page: with no cursor row in the region list shows "请选择需要修改的行!"
// and returns false; otherwise opens the window for the unit of the cursor row and returns true
// when it has closed, after which the caller rebuilds and expands the region tree.
bool openRegionEntryForModify(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                              QWidget *parent);

} // namespace fenlark
