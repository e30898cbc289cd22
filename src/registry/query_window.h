#pragma once

#include "region/unit_choice.h"
#include "ui/window_builder.h"

#include <QDialog>

#include <vector>

namespace fenlark {

struct AppState;
class Button;
class Clock;
class ComboBox;
class DBConnection;
class Dialogs;
class EGrid;
class Label;

// The query window: households of all units and years chosen by up to ten combined criteria,
// written into the main window's household list. It stays open between queries and is closed
// by its "关闭" label.
class QueryWindow : public QDialog {
    Q_OBJECT
public:
    QueryWindow(AppState &state, DBConnection &connection, EGrid &householdList, Label &countLabel, const Clock &clock,
                QWidget *parent = nullptr);

    const BuiltWindow &controls() const { return m_built; }
    // 按钮_查询.
    void runQuery();

private:
    void placeClearOfFirstColumns();
    void fillRegions();
    void fillKeywords();
    bool ticked(const char16_t *name) const;

    AppState &m_state;
    DBConnection &m_connection;
    EGrid &m_list;
    Label &m_countLabel;
    const Clock &m_clock;
    BuiltWindow m_built;
    ComboBox *m_regions = nullptr;
    std::vector<UnitChoice> m_regionChoices; // the villages of 组合框1, before its "全部"
    ComboBox *m_health = nullptr;
    ComboBox *m_keywords = nullptr;
    Button *m_queryButton = nullptr;
};

// 工具条2 item 4 "查找" (only with a data row in the list): opens the window modally.
void openQueryWindow(AppState &state, DBConnection &connection, EGrid &householdList, Label &countLabel,
                     const Clock &clock, Dialogs &dialogs, QWidget *parent);

} // namespace fenlark
