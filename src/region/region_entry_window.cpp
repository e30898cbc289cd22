#include "region/region_entry_window.h"

#include "core/app_state.h"
#include "region/region_entry_rules.h"
#include "region/region_entry_store.h"
#include "region/region_list.h"
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
    // Not found: the form stays empty, the set open until the window goes.
    if (!findRegionUnit(m_recordSet, m_state.regionEditName))
        return;
    QString levelName;
    QString parent;
    readRegionUnit(m_recordSet, levelName, parent);
    m_levels->setContent(levelName);
    m_name->setContent(m_state.regionEditName);
    m_levels->setEnabled(false); // a unit's level cannot be changed
    fillParentList(levelName);
    m_parents->setContent(parent);
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

    const QString name = trimUnitName(form.typedName);
    // Two units of one name would make every lookup by name (tree, deletion, households)
    // ambiguous, so a rename onto a taken name is refused as an entry is.
    const bool taken = m_entryMode ? findRegionUnit(m_recordSet, name) : nameTakenByAnother(name);
    if (taken) {
        m_dialogs.message(this, regionText::duplicateName, MessageIcon::Error);
        return;
    }
    storeAndClose(name);
}

bool RegionEntryWindow::nameTakenByAnother(const QString &name)
{
    if (name == m_state.regionEditName)
        return false;
    const bool found = findRegionUnit(m_recordSet, name);
    m_recordSet.close();
    return found;
}

void RegionEntryWindow::storeAndClose(const QString &name)
{
    RegionUnit unit;
    unit.level = m_levels->itemValue(m_levels->currentIndex());
    unit.levelName = m_levels->selectedText();
    unit.name = name;
    unit.parent = m_parents->selectedText();

    if (m_entryMode) {
        if (!storeRegionUnit(m_recordSet, m_connection, unit, true)) {
            m_dialogs.message(this, regionText::saveFailed, MessageIcon::Error);
            return;
        }
        appendRegionListRow(m_regionList, unit.levelName, unit.name);
    } else if (findRegionUnit(m_recordSet, m_state.regionEditName)) {
        if (!storeRegionUnit(m_recordSet, m_connection, unit, false)) {
            m_dialogs.message(this, regionText::saveFailed, MessageIcon::Error);
            return;
        }
        writeRegionListRow(m_regionList, m_state.regionEditRow, unit.levelName, unit.name);
    }
    // The unit's row gone since the window opened: nothing written, the list as it was.
    renumberRows(m_regionList);
    accept();
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
