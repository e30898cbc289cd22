#include "household/household_edit_window.h"

#include "household/household_openers.h"

#include "core/app_state.h"
#include "core/clock.h"
#include "core/datetime.h"
#include "core/text.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "household/help_window.h"
#include "household/household_store.h"
#include "household/member_card_check.h"
#include "region/region_tree.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/containers.h"
#include "ui/date_picker.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/popup_menu.h"
#include "ui/window_drag.h"

#include <QKeyEvent>

namespace fenlark {

namespace {

const QString kAddTitle = QStringLiteral("添加成员信息 ");
const QString kModifyTitle = QStringLiteral("修改成员信息 ");
constexpr int kHeightCut = 23;

// Selects the first item with the text; leaves the selection as it is when none has it.
void selectFirst(ComboBox &box, const QString &text)
{
    for (int i = 0; i < box.itemCount(); ++i) {
        if (box.itemText(i) == text) {
            box.setCurrentIndex(i);
            return;
        }
    }
}

// Everything the user can change on the form, as text, to tell a form that was worked on.
QStringList formSnapshot(const BuiltWindow &built)
{
    QStringList values;
    for (const QString &name : built.names()) {
        QObject *control = built.object(name);
        if (const auto *grid = qobject_cast<EGrid *>(control)) {
            for (int r = 0; r < grid->rowCount(); ++r) {
                for (int c = 0; c < grid->columnCount(); ++c)
                    values << grid->cellText(r, c);
            }
        } else if (const auto *box = qobject_cast<ComboBox *>(control)) {
            values << QString::number(box->currentIndex()) << box->content();
        } else if (const auto *edit = qobject_cast<EditBox *>(control)) {
            values << edit->content();
        } else if (const auto *button = qobject_cast<QAbstractButton *>(control)) {
            values << QString::number(button->isChecked());
        } else if (const auto *date = qobject_cast<DatePicker *>(control)) {
            values << date->value().toString(Qt::ISODate);
        }
    }
    return values;
}

} // namespace

HouseholdEditWindow::HouseholdEditWindow(AppState &state, DBConnection &connection, Dialogs &dialogs,
                                         const HouseholdEditContext &context, QWidget *parent)
    : QDialog(parent), m_state(state), m_connection(connection), m_dialogs(dialogs), m_context(context)
{
    m_built = buildWindow(QStringLiteral(":/designs/household_edit.json"), this);
    findControls();
    connectEvents();

    // The design's height includes the system title bar the borderless form does not have.
    resize(width(), height() - kHeightCut);
    m_recordSet.attach(m_connection);
    m_unitChoices = villageChoices(m_state.villageNames, m_state.villageParents);
    for (const UnitChoice &choice : m_unitChoices)
        m_unit->addItem(choice.label);
    memberGrid::setUp(*m_members);
    for (int i = 1; i <= 5; ++i) {
        if (auto *frame = m_built.control<ShapeBox>(QStringLiteral("外形框%1").arg(i)))
            frame->setLineWidth(0);
    }

    if (m_state.editMode == kEditModeModify) {
        m_title->setCaption(kModifyTitle);
        loadHousehold();
    } else if (m_state.editMode == kEditModeAdd) {
        m_title->setCaption(kAddTitle);
        const QString unit = m_state.currentSelection.unit;
        if (!unit.isEmpty()) {
            // Every item is compared, so of equal items the last one stays selected. A name
            // offered under several townships counts only under the one the list shows.
            for (int i = 0; i < int(m_unitChoices.size()); ++i) {
                const UnitChoice &choice = m_unitChoices[size_t(i)];
                if (choice.name == unit && (!choice.repeated || choice.parent == m_state.currentSelection.parent))
                    m_unit->setCurrentIndex(i);
            }
        }
    }
    m_pristine = formSnapshot(m_built);
}

HouseholdEditWindow::~HouseholdEditWindow()
{
    m_state.editMode.clear();
    m_recordSet.close();
}

void HouseholdEditWindow::findControls()
{
    const auto need = [this](auto *&slot, const char16_t *name) {
        using T = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
        slot = m_built.control<T>(QString::fromUtf16(name));
        if (!slot)
            qFatal("household_edit.json lacks a control the form needs");
    };
    need(m_title, u"标签13");
    need(m_close, u"超级按钮1");
    need(m_unit, u"组合框3");
    need(m_category, u"组合框1");
    need(m_planningYes, u"单选框1");
    need(m_planningNo, u"单选框2");
    need(m_medicalYes, u"单选框4");
    need(m_medicalNo, u"单选框3");
    need(m_pensionYes, u"单选框6");
    need(m_pensionNo, u"单选框5");
    need(m_pensionAmount, u"编辑框2");
    need(m_allowance, u"编辑框11");
    need(m_members, u"高级表格1");
    need(m_address, u"编辑框9");
    need(m_phone, u"编辑框12");
    need(m_business, u"组合框5");
    need(m_income, u"编辑框14");
    need(m_bank, u"组合框2");
    need(m_account, u"编辑框1");
    need(m_health[0], u"单选框8");
    need(m_health[1], u"单选框7");
    need(m_health[2], u"单选框9");
    need(m_health[3], u"单选框10");
    need(m_offence, u"选择框1");
    need(m_offenceKind, u"组合框6");
    need(m_disabled, u"选择框2");
    need(m_petitioner, u"选择框4");
    need(m_situation, u"编辑框10");
    need(m_keywords, u"编辑框13");
    need(m_party, u"选择框3");
    need(m_partyJoined, u"日期框1");
    need(m_partyPost, u"组合框4");
    need(m_save, u"按钮_保存");
    need(m_help, u"按钮_帮助");
    need(m_print, u"按钮_打印");
    need(m_menu, u"弹出菜单1");
}

void HouseholdEditWindow::connectEvents()
{
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    makeWindowDragHandle(m_title);
    connect(m_save, &QPushButton::clicked, this, &HouseholdEditWindow::save);
    connect(m_help, &QPushButton::clicked, this, &HouseholdEditWindow::showHelp);
    connect(m_print, &QPushButton::clicked, this, &HouseholdEditWindow::printCard);
    connect(m_members, &EGrid::editEnded, this, &HouseholdEditWindow::memberCellEdited);
    connect(m_members, &EGrid::rightButtonPressed, this, &HouseholdEditWindow::memberMenuRequested);
    connect(m_menu, &PopupMenu::itemClicked, this, [this] {
        memberGrid::clearCursorRow(*m_members, m_dialogs, this);
        memberCards::markCardCells(*m_members, m_context.clock.now().date());
    });
}

void HouseholdEditWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc closes the form like 关闭, but a slip of the finger must not throw away typed work.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && formSnapshot(m_built) != m_pristine &&
        !m_dialogs.askYesNo(this, QStringLiteral("当前填写的信息尚未保存,确定放弃并关闭窗口吗?"), MessageIcon::Question,
                            defaultMessageTitle(), DefaultAnswer::No)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void HouseholdEditWindow::memberMenuRequested()
{
    if (m_members->cursorRow() >= 1)
        m_menu->popUp();
}

void HouseholdEditWindow::showHelp()
{
    HouseholdHelpWindow help(this);
    m_dialogs.showModal(&help);
}

void HouseholdEditWindow::memberCellEdited()
{
    memberGrid::normaliseCursorCell(*m_members);
    memberCards::markCardCells(*m_members, m_context.clock.now().date());
}

void HouseholdEditWindow::loadHousehold()
{
    const int row = m_context.list.cursorRow();
    const QString headName = m_context.list.cellText(row, 1);
    m_listCard = m_context.list.cellText(row, 2);
    m_state.loadedHeadName = headName;
    m_listYear = listedYear(m_context.list, row, m_state);
    m_loaded = locateHousehold(m_recordSet, m_listYear, headName, m_state.currentSelection.unit, m_listCard);
    if (m_loaded) {
        int id = 0;
        if (m_recordSet.readInt(schema::households::id, id))
            m_loadedId = id;
        m_recordSet.readText(schema::versionColumn, m_loadedVersion);
        HouseholdRecord record;
        readHousehold(m_recordSet, record);
        fillForm(record);
        memberCards::markCardCells(*m_members, m_context.clock.now().date());
    }
    m_recordSet.close();
}

void HouseholdEditWindow::fillForm(const HouseholdRecord &r)
{
    selectUnit(r.unit, r.parentUnit);
    selectFirst(*m_category, r.category);
    m_offenceKind->setContent(r.offenceKind);
    m_phone->setContent(r.phone);
    m_address->setContent(r.address);
    m_business->setContent(r.business);
    m_income->setContent(numberToText(r.annualIncome));
    m_keywords->setContent(r.keywords);
    m_situation->setContent(r.situation);
    if (r.partyMember) {
        m_partyJoined->setValue(daycount::toDateTime(r.partyJoined));
        m_partyPost->setContent(r.partyPost);
    }
    m_allowance->setContent(numberToText(r.allowanceLastYear));
    m_petitioner->setChecked(r.petitioner);
    (r.familyPlanning ? m_planningYes : m_planningNo)->setChecked(true);
    (r.medicalCare ? m_medicalYes : m_medicalNo)->setChecked(true);
    (r.pensionInsurance ? m_pensionYes : m_pensionNo)->setChecked(true);
    m_pensionAmount->setContent(numberToText(r.pensionAmount));
    m_bank->setContent(r.bank);
    m_account->setContent(r.bankAccount);
    for (RadioBox *button : m_health) {
        if (button->caption() == r.health) {
            button->setChecked(true);
            break;
        }
    }
    m_offence->setChecked(r.offence);
    m_disabled->setChecked(r.disabled);
    m_party->setChecked(r.partyMember);
    m_loadReport = memberGrid::load(*m_members, r.members);
}

HouseholdFormState HouseholdEditWindow::formState() const
{
    const auto pair = [](const RadioBox *yes, const RadioBox *no) -> std::optional<bool> {
        if (yes->isChecked())
            return true;
        if (no->isChecked())
            return false;
        return std::nullopt;
    };
    HouseholdFormState f;
    f.unitChosen = m_unit->currentIndex() >= 0;
    f.categoryChosen = m_category->currentIndex() >= 0;
    f.familyPlanning = pair(m_planningYes, m_planningNo);
    f.medicalCare = pair(m_medicalYes, m_medicalNo);
    f.pensionInsurance = pair(m_pensionYes, m_pensionNo);
    f.pensionAmountText = m_pensionAmount->content();
    for (const RadioBox *button : m_health) {
        if (button->isChecked()) {
            f.health = button->caption();
            break;
        }
    }
    f.memberRows = memberGrid::memberRowCount(*m_members);
    f.address = m_address->content();
    f.offence = m_offence->isChecked();
    f.offenceKind = m_offenceKind->content();
    f.headCount = memberGrid::headCount(*m_members);
    f.namelessHead = memberGrid::hasNamelessHead(*m_members);
    f.partyMember = m_party->isChecked();
    f.partyPost = m_partyPost->content();
    return f;
}

QString HouseholdEditWindow::parentUnitOf(const QString &unit) const
{
    return fenlark::parentUnitOf(m_context.regionTree, unit);
}

UnitChoice HouseholdEditWindow::chosenUnit() const
{
    const int index = m_unit->currentIndex();
    if (index < 0 || index >= int(m_unitChoices.size()))
        return {};
    UnitChoice choice = m_unitChoices[size_t(index)];
    // Without the villages' own parents the tree says which unit the name stands for.
    if (m_state.villageParents.size() != m_state.villageNames.size())
        choice.parent = parentUnitOf(choice.name);
    return choice;
}

void HouseholdEditWindow::selectUnit(const QString &name, const QString &parent)
{
    int index = findUnitChoice(m_unitChoices, name, parent);
    if (index < 0)
        index = findUnitChoice(m_unitChoices, name, std::nullopt);
    if (index >= 0)
        m_unit->setCurrentIndex(index);
}

} // namespace fenlark
