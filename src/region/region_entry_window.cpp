#include "region/region_entry_window.h"

#include "core/app_state.h"
#include "data/statement.h"
#include "region/region_entry_rules.h"
#include "region/region_entry_store.h"
#include "region/region_list.h"
#include "region/region_subtree.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/grid_rows.h"

namespace fenlark {

RegionEntryWindow::RegionEntryWindow(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                                     QWidget *parent)
    : QDialog(parent), m_state(state), m_connection(connection), m_regionList(regionList), m_dialogs(dialogs)
{
    m_built = buildWindow(QStringLiteral(":/designs/region_entry.json"), this);
    m_levels = m_built.control<ComboBox>(QStringLiteral("组合框1"));
    m_parents = m_built.control<ComboBox>(QStringLiteral("组合框2"));
    m_name = m_built.control<EditBox>(QStringLiteral("编辑框1"));
    if (!m_levels || !m_parents || !m_name)
        qFatal("region_entry.json lacks the level list, the parent list or the name box");

    connect(m_levels, &ComboBox::itemSelected, this, &RegionEntryWindow::levelChosen);
    if (auto *ok = m_built.control<Button>(QStringLiteral("按钮_确认")))
        connect(ok, &QPushButton::clicked, this, &RegionEntryWindow::confirm);
    if (auto *quit = m_built.control<Button>(QStringLiteral("按钮_退出")))
        connect(quit, &QPushButton::clicked, this, &QDialog::reject);

    m_recordSet.attach(m_connection);
    if (m_state.editMode == kEditModeModify) {
        m_entryMode = false;
        setWindowTitle(regionText::modifyTitle);
        loadUnitForModification();
    } else if (m_state.editMode == kEditModeAdd) {
        setWindowTitle(regionText::entryTitle);
    }
}

RegionEntryWindow::~RegionEntryWindow()
{
    m_state.editMode.clear();
    m_recordSet.close();
}

void RegionEntryWindow::loadUnitForModification()
{
    m_state.regionEditRow = m_regionList.cursorRow();
    m_state.regionEditName = regionListName(m_regionList, m_state.regionEditRow);
    m_editedParent = regionListParent(m_regionList, m_state.regionEditRow);
    // Not found: the form stays empty.
    const std::optional<StoredRegionUnit> found = findRegionUnit(m_connection, m_state.regionEditName, m_editedParent);
    if (!found)
        return;
    m_editedParent = found->unit.parent;
    m_levels->setContent(found->unit.levelName);
    m_name->setContent(m_state.regionEditName);
    m_levels->setEnabled(false); // a unit's level cannot be changed
    fillParentList(found->unit.levelName);
    m_parents->setContent(found->unit.parent);
}

void RegionEntryWindow::levelChosen(int index)
{
    if (m_levels->itemValue(index) == kCountryLevel)
        m_parents->clear();
    else
        fillParentList(m_levels->itemText(index));
}

void RegionEntryWindow::fillParentList(const QString &levelName)
{
    m_parents->clear();
    for (const QString &name : parentCandidates(m_recordSet, levelName))
        m_parents->addItem(name);
    m_parents->setCurrentIndex(-1);
}

void RegionEntryWindow::confirm()
{
    RegionEntryForm form;
    form.levelIndex = m_levels->currentIndex();
    form.typedName = m_name->content();
    form.parentIndex = m_parents->currentIndex();
    form.parentText = m_parents->selectedText();
    const QString refusal = checkRegionEntryForm(form);
    if (!refusal.isEmpty()) {
        m_dialogs.message(this, refusal, MessageIcon::Error);
        return;
    }

    RegionUnit unit;
    unit.level = m_levels->itemValue(m_levels->currentIndex());
    unit.levelName = m_levels->selectedText();
    unit.name = trimUnitName(form.typedName);
    unit.parent = m_parents->selectedText();
    if (m_entryMode)
        addUnit(unit);
    else
        changeUnit(unit);
}

bool RegionEntryWindow::refusedAsClash(const RegionUnit &unit, qint64 except)
{
    // A duplicate is refused only under the same parent: village names repeat across townships.
    switch (regionNameClash(m_connection, unit, except)) {
    case RegionNameClash::None:
        return false;
    case RegionNameClash::SameParent:
        m_dialogs.message(this, regionText::duplicateName, MessageIcon::Error);
        return true;
    case RegionNameClash::AmbiguousParent:
        m_dialogs.message(this, regionText::ambiguousParentName, MessageIcon::Error);
        return true;
    }
    return true;
}

void RegionEntryWindow::addUnit(const RegionUnit &unit)
{
    if (refusedAsClash(unit, -1))
        return;
    if (!insertRegionUnit(m_connection, unit)) {
        m_dialogs.message(this, regionText::saveFailed, MessageIcon::Error);
        return;
    }
    appendRegionListRow(m_regionList, unit.levelName, unit.name, unit.parent);
    accept();
}

void RegionEntryWindow::changeUnit(const RegionUnit &unit)
{
    const std::optional<StoredRegionUnit> stored = findRegionUnit(m_connection, m_state.regionEditName, m_editedParent);
    if (!stored) {
        // The unit's row gone since the window opened: nothing written, the list as it was.
        renumberRows(m_regionList);
        accept();
        return;
    }
    if (refusedAsClash(unit, stored->row))
        return;

    // Sub-units and households hold the unit's name and parent as text: unless they follow,
    // they drop out of the tree. The clerk decides, with the counts in front of them.
    const RegionReferences references = referencesToChange(m_connection, *stored, unit);
    const bool carry =
        references.any() && m_dialogs.askYesNo(this, regionChangeQuestion(*stored, unit, references),
                                               MessageIcon::Question, defaultMessageTitle(), DefaultAnswer::Yes);
    Transaction transaction(m_connection);
    const bool saved = transaction.isActive() && (!carry || carryRegionChange(m_connection, *stored, unit)) &&
                       rewriteRegionUnit(m_connection, stored->row, unit) && transaction.commit();
    if (!saved) {
        m_dialogs.message(this, regionText::saveFailed, MessageIcon::Error);
        return;
    }
    writeRegionListRow(m_regionList, m_state.regionEditRow, unit.levelName, unit.name, unit.parent);
    if (carry && unit.name != stored->unit.name)
        renameRegionListParent(m_regionList, stored->unit.level, stored->unit.name, unit.name);
    renumberRows(m_regionList);
    accept();
}

QString regionChangeQuestion(const StoredRegionUnit &unit, const RegionUnit &changed,
                             const RegionReferences &references)
{
    QStringList lines;
    lines << QStringLiteral("是否同时更新引用%1的记录?").arg(unit.unit.levelName + u' ' + unit.unit.name);
    if (references.subUnits > 0)
        lines << QStringLiteral("%1个下级单位的直属管辖").arg(references.subUnits);
    if (references.ownHouseholds > 0) {
        const bool renamed = changed.name != unit.unit.name;
        const bool moved = changed.parent != unit.unit.parent;
        const QString columns = renamed && moved ? QStringLiteral("所属管辖和上级管辖")
                                : renamed        ? QStringLiteral("所属管辖")
                                                 : QStringLiteral("上级管辖");
        lines << QStringLiteral("%1条农户记录的%2").arg(references.ownHouseholds).arg(columns);
    }
    if (references.subUnitHouseholds > 0)
        lines << QStringLiteral("下级单位的%1条农户记录的上级管辖").arg(references.subUnitHouseholds);
    lines << QStringLiteral("选“否”则只修改该单位本身,这些下级单位和农户将不再显示在地区树中。");
    return lines.join(u'\n');
}

void openRegionEntryForAdd(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                           QWidget *parent)
{
    state.editMode = kEditModeAdd;
    RegionEntryWindow window(state, connection, regionList, dialogs, parent);
    dialogs.showModal(&window);
}

bool openRegionEntryForModify(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                              QWidget *parent)
{
    if (regionList.cursorRow() < 1) {
        dialogs.message(parent, regionText::chooseRowToModify, MessageIcon::Error);
        return false;
    }
    state.editMode = kEditModeModify;
    RegionEntryWindow window(state, connection, regionList, dialogs, parent);
    dialogs.showModal(&window);
    return true;
}

} // namespace fenlark
