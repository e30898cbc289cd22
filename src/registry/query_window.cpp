#include "registry/query_window.h"

#include "core/app_state.h"
#include "registry/household_criteria.h"
#include "registry/household_row.h"
#include "registry/query_row_reader.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/window_drag.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace fenlark {

QueryWindow::QueryWindow(AppState &state, DBConnection &connection, EGrid &householdList, Label &countLabel,
                         const Clock &clock, QWidget *parent)
    : QDialog(parent), m_state(state), m_connection(connection), m_list(householdList), m_countLabel(countLabel),
      m_clock(clock)
{
    m_built = buildWindow(QStringLiteral(":/designs/query_window.json"), this);
    m_regions = m_built.control<ComboBox>(QStringLiteral("组合框1"));
    m_health = m_built.control<ComboBox>(QStringLiteral("组合框2"));
    m_keywords = m_built.control<ComboBox>(QStringLiteral("组合框3"));
    m_queryButton = m_built.control<Button>(QStringLiteral("按钮_查询"));
    connect(m_built.control<Label>(QStringLiteral("标签3")), &Label::leftButtonPressed, this, &QDialog::reject);
    connect(m_queryButton, &QPushButton::clicked, this, &QueryWindow::runQuery);
    makeWindowDragHandle(m_built.widget(QStringLiteral("标签2")));
    fillRegions();
    fillKeywords();
    placeClearOfFirstColumns();
}

void QueryWindow::placeClearOfFirstColumns()
{
    // The window stays open between queries, so its result must be readable beside it: the
    // first columns (N, 户主, 身份证, 所属管辖) name the households found. It opens at the top
    // right of the list, and never further left than the end of those columns.
    int firstColumns = 0;
    for (int c = 0; c < 4 && c < m_list.columnCount(); ++c)
        firstColumns += m_list.columnWidth(c);
    const QPoint listTopLeft = m_list.mapToGlobal(QPoint(0, 0));
    int x = std::max(listTopLeft.x() + m_list.width() - width(), listTopLeft.x() + firstColumns);
    int y = listTopLeft.y();
    if (const QScreen *screen = m_list.screen() ? m_list.screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - width()));
        y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - height()));
    }
    move(x, y);
}

void QueryWindow::fillRegions()
{
    m_regionChoices = villageChoices(m_state.villageNames, m_state.villageParents);
    for (const UnitChoice &choice : m_regionChoices)
        m_regions->addItem(choice.label);
    m_regions->addItem(QStringLiteral("全部"));
    if (m_state.currentSelection.unit.isEmpty()) {
        m_regions->setCurrentIndex(0);
        return;
    }
    // Every equal item is selected in turn, so the last one stays; none equal: no selection. A
    // name offered under several townships counts only under the one the list showed.
    m_regions->setCurrentIndex(-1);
    for (int i = 0; i < int(m_regionChoices.size()); ++i) {
        const UnitChoice &choice = m_regionChoices[size_t(i)];
        if (choice.name == m_state.currentSelection.unit &&
            (!choice.repeated || choice.parent == m_state.currentSelection.parent))
            m_regions->setCurrentIndex(i);
    }
    if (m_state.currentSelection.unit == QStringLiteral("全部"))
        m_regions->setCurrentIndex(m_regions->itemCount() - 1);
}

void QueryWindow::fillKeywords()
{
    m_keywords->addTexts(keywordTextTable(m_connection));
}

bool QueryWindow::ticked(const char16_t *name) const
{
    const auto *box = m_built.control<CheckBox>(QString::fromUtf16(name));
    return box && box->isChecked();
}

void QueryWindow::runQuery()
{
    m_queryButton->setEnabled(false);
    QCoreApplication::processEvents();

    HouseholdCriteria criteria;
    const int region = m_regions->currentIndex();
    if (region >= 0 && region < int(m_regionChoices.size())) {
        const UnitChoice &choice = m_regionChoices[size_t(region)];
        criteria.unit = choice.name;
        if (choice.repeated)
            criteria.parentUnit = choice.parent;
    } else if (m_regions->itemText(region) != QStringLiteral("全部")) {
        criteria.unit = m_regions->itemText(region);
    }
    auto pair = [this](const char16_t *on, const char16_t *value) -> std::optional<bool> {
        return ticked(on) ? std::optional<bool>(ticked(value)) : std::nullopt;
    };
    criteria.familyPlanning = pair(u"选择框3", u"选择框4");
    criteria.medicalCare = pair(u"选择框5", u"选择框6");
    criteria.pensionInsurance = pair(u"选择框7", u"选择框8");
    if (ticked(u"选择框9"))
        criteria.health = m_health->itemText(m_health->currentIndex());
    criteria.offence = pair(u"选择框10", u"选择框11");
    criteria.disabled = pair(u"选择框12", u"选择框13");
    criteria.petitioner = pair(u"选择框14", u"选择框15");
    criteria.partyMember = pair(u"选择框16", u"选择框17");
    if (ticked(u"选择框1"))
        criteria.keyword = m_keywords->content();

    // The list keeps the households' rowids and reads the cells of the rows it shows, so a query
    // over a whole county costs its length in ids, not in cells.
    std::vector<qint64> ids = selectIdsByCriteria(m_connection, criteria);
    m_state.householdCount = int(ids.size());
    m_list.showListedRows(std::move(ids), std::make_shared<QueryRowReader>(m_connection, m_clock));
    m_countLabel.setCaption(QStringLiteral("总项目数：") + QString::number(m_state.householdCount));
    m_queryButton->setEnabled(true);
}

void openQueryWindow(AppState &state, DBConnection &connection, EGrid &householdList, Label &countLabel,
                     const Clock &clock, Dialogs &dialogs, QWidget *parent)
{
    QueryWindow window(state, connection, householdList, countLabel, clock, parent);
    dialogs.showModal(&window);
}

} // namespace fenlark
