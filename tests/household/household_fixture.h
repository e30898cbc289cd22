#pragma once

#include "support/test_server_schema.h"

#include "cards/card_number.h"
#include "core/app_state.h"
#include "core/clock.h"
#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/register_file.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "data/statement.h"
#include "household/household_edit_window.h"
#include "household/household_openers.h"
#include "registry/household_row.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/date_picker.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/popup_menu.h"
#include "ui/tree_box.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A valid card number of a man born on 1 January 1990, a different one for each n (0 to 498).
inline QString card(int n)
{
    const QString first17 = QStringLiteral("11010119900101%1").arg(2 * n + 1, 3, 10, QLatin1Char('0'));
    return first17 + fenlark::cardCheckCharacter(first17);
}

// A fresh register, the household page of the main window as far as the form touches it
// (list, tree 镇一 › 村A, 村B, year list, count label), the state and scripted dialogs.
class HouseholdFixture {
public:
    HouseholdFixture() : clock(QDateTime(QDate(2016, 5, 1), QTime(10, 0, 0)))
    {
        if (qgetenv("FENLARK_TEST_ENGINE") == "postgresql") {
            openOnServer();
        } else {
            const QString path = m_dir.filePath(QStringLiteral("data.mdb"));
            QString error;
            m_ready = fenlark::createRegisterFile(path, error) && connection.connectAccess(path, QString());
        }
        mainSet.attach(connection);
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        const int town = tree.addItem(-1, QStringLiteral("镇一"));
        tree.addItem(town, QStringLiteral("村A"));
        tree.addItem(town, QStringLiteral("村B"));
        state.villageNames = {QStringLiteral("村A"), QStringLiteral("村B")};
        state.currentSelection = {2016, QStringLiteral("村A")};
    }

    ~HouseholdFixture()
    {
        mainSet.close();
        if (!m_schema.isEmpty())
            fenlark::execScript(connection, QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }

    bool isReady() const { return m_ready; }
    // Why the fixture has no register at all (the server tests without a server).
    QString skipReason() const { return m_skipReason; }
    fenlark::HouseholdEditContext context() { return {list, tree, years, mainSet, countLabel, clock}; }

    // A stored household with one member, its head, and (when listed) its row on the list.
    void addHousehold(int year, const QString &head, const QString &unit, const QString &headCard, bool listed = true,
                      const QString &members = QString())
    {
        const QString packed =
            members.isNull() ? head + QStringLiteral("-男-") + headCard + QStringLiteral("-户主-汉族-初中") : members;
        fenlark::Statement insert(
            connection,
            QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 上级管辖, 户主, 户主信息, 农户属性, "
                           "是否计划生育, 是否合作医疗, 是否养老保险, 社保缴纳金额, 健康状况, 家庭人员信息, "
                           "家庭住址, 是否党员, 年收入, 上年度领取的低保金) "
                           "VALUES (?, ?, '镇一', ?, ?, '低保户', 0, 1, 0, 0, '健康', ?, ?, 0, 1500, 12.5)"));
        insert.bind(1, year).bind(2, unit).bind(3, head);
        insert.bind(4, head + QStringLiteral("-男-") + headCard + QStringLiteral("-初中"));
        insert.bind(5, packed).bind(6, unit + QStringLiteral("一号"));
        insert.exec();
        if (listed) {
            fenlark::HouseholdListRow row;
            row.headName = head;
            row.headCard = headCard;
            row.unit = unit;
            row.entryYear = year;
            fenlark::appendHouseholdRow(list, list.rowCount(), row);
            ++state.householdCount;
        }
    }

    // Rows of 成员信息 as "录入年份|所属管辖|户主|家庭住址", in table order.
    QStringList households()
    {
        QStringList rows;
        fenlark::Statement query(
            connection, QStringLiteral("SELECT 录入年份, 所属管辖, 户主, 家庭住址 FROM 成员信息 ORDER BY rowid"));
        while (query.step())
            rows << QString::number(query.int64(0)) + u'|' + query.text(1) + u'|' + query.text(2) + u'|' +
                        query.text(3);
        return rows;
    }

    QString column(const QString &name, const QString &head)
    {
        fenlark::Statement query(connection, QStringLiteral("SELECT \"%1\" FROM 成员信息 WHERE 户主 = ?").arg(name));
        query.bind(1, head);
        return query.step() ? query.text(0) : QStringLiteral("<none>");
    }

    QStringList storedYears()
    {
        QStringList rows;
        fenlark::Statement query(connection, QStringLiteral("SELECT 年份 FROM 年份管理 ORDER BY rowid"));
        while (query.step())
            rows << QString::number(query.int64(0));
        return rows;
    }

    // Data rows of the list as "N|户主|身份证|所属管辖".
    QStringList listRows() const
    {
        QStringList rows;
        for (int r = 1; r < list.rowCount(); ++r)
            rows << list.cellText(r, 0) + u'|' + list.cellText(r, 1) + u'|' + list.cellText(r, 2) + u'|' +
                        list.cellText(r, 3);
        return rows;
    }

    fenlark::DBConnection connection;
    fenlark::RecordSet mainSet;
    fenlark::AppState state;
    fenlark::ScriptedDialogs dialogs;
    fenlark::FixedClock clock;
    fenlark::EGrid list;
    fenlark::TreeBox tree;
    fenlark::ComboBox years;
    fenlark::Label countLabel;

private:
    // With FENLARK_TEST_ENGINE=postgresql: a fresh schema on the server named by FENLARK_TEST_PG
    // (tests/support/pg_cluster.sh), made as a county's register is made, dropped at the end.
    void openOnServer() { m_ready = openTestServerSchema(connection, QStringLiteral("h"), m_schema, m_skipReason); }

    QTemporaryDir m_dir;
    QString m_schema;
    QString m_skipReason;
    bool m_ready = false;
};

// Skips when the fixture has no register to run on (the server tests without a server), else
// requires it made.
#define REQUIRE_HOUSEHOLD_FIXTURE(f)                                                                                   \
    do {                                                                                                               \
        if (!(f).skipReason().isEmpty())                                                                               \
            QSKIP(qPrintable((f).skipReason()));                                                                       \
        QVERIFY((f).isReady());                                                                                        \
    } while (false)

// Lookups on an open household form by design name.
template <class T> T *control(QDialog *window, const char16_t *name)
{
    return window->findChild<T *>(QString::fromUtf16(name));
}

inline fenlark::HouseholdEditWindow *form(QDialog *window)
{
    return qobject_cast<fenlark::HouseholdEditWindow *>(window);
}

// Fills every mandatory field of the form: unit, category, the three pairs (否), health, one
// member marked head, an address.
inline void fillValidForm(QDialog *w, const QString &unit, const QString &head, const QString &headCard)
{
    control<fenlark::ComboBox>(w, u"组合框3")->setContent(unit);
    control<fenlark::ComboBox>(w, u"组合框1")->setCurrentIndex(1);
    control<fenlark::RadioBox>(w, u"单选框2")->setChecked(true);
    control<fenlark::RadioBox>(w, u"单选框3")->setChecked(true);
    control<fenlark::RadioBox>(w, u"单选框5")->setChecked(true);
    control<fenlark::RadioBox>(w, u"单选框8")->setChecked(true);
    control<fenlark::EditBox>(w, u"编辑框9")->setContent(QStringLiteral("一组"));
    fenlark::EGrid &grid = form(w)->memberGrid();
    const QStringList cells{
        head, QStringLiteral("男"), headCard, QStringLiteral("初中"), QStringLiteral("户主"), QStringLiteral("汉族")};
    for (int c = 0; c < 6; ++c)
        grid.setCell(1, c, fenlark::EGrid::TextCell, cells.at(c));
}

inline void clickSave(QDialog *w)
{
    control<fenlark::Button>(w, u"按钮_保存")->click();
}
