// The search by a member's name or card as the main window runs it: the list it writes, the
// unit and year it takes, the note when the list is cut short.
#include "../cards/member_register.h"

#include "core/app_state.h"
#include "core/clock.h"
#include "registry/member_search.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"

#include <QtTest>

using namespace fenlark;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));

struct Page {
    CheckBox byMember, everywhere;
    EditBox box;
    ComboBox years;
    EGrid list;
    Label note;
    MemberSearchControls controls{byMember, everywhere, box, years, list, note};
    AppState state;
    Page()
    {
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        byMember.setChecked(true);
        for (const char16_t *y : {u"2025", u"2026", u"全部"})
            years.addItem(QString::fromUtf16(y));
        years.setCurrentIndex(1);
        state.currentSelection = {2026, QStringLiteral("村A")};
    }
    // "N|户主|身份证|所属管辖" of every row.
    QStringList rows() const
    {
        QStringList out;
        for (int r = 1; r < list.rowCount(); ++r)
            out << QStringList{list.cellText(r, 0), list.cellText(r, 1), list.cellText(r, 2), list.cellText(r, 3)}.join(
                u'|');
        return out;
    }
};

} // namespace

class MemberSearchListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_MEMBER_REGISTER(m_register);
        m_register.add(2026, QStringLiteral("村A"),
                       {QStringLiteral("张三:110101199003071233"), QStringLiteral("李四:110101199003071241")});
        m_register.add(2026, QStringLiteral("村B"), {QStringLiteral("李四海:440304198501010013")});
        m_register.add(2025, QStringLiteral("村A"), {QStringLiteral("王五:11010519491231002X")});
    }

    void listsTheUnitThenEverywhere()
    {
        Page p;
        p.list.insertRow(); // a row of the last list load, replaced by the search
        p.box.setContent(QStringLiteral("李四"));
        searchByMember(p.state, m_register.connection, p.controls, kClock);
        QCOMPARE(p.rows(), QStringList{QStringLiteral("1|张三|110101199003071233|村A")});
        p.everywhere.setChecked(true);
        searchByMember(p.state, m_register.connection, p.controls, kClock);
        QCOMPARE(p.rows(), (QStringList{QStringLiteral("1|张三|110101199003071233|村A"),
                                        QStringLiteral("2|李四海|440304198501010013|村B")}));
        QCOMPARE(p.note.caption(), QString());
    }

    void yearChoiceAndEmptyText()
    {
        Page p;
        p.years.setCurrentIndex(2); // 全部
        p.box.setContent(QStringLiteral("王"));
        searchByMember(p.state, m_register.connection, p.controls, kClock);
        QCOMPARE(p.rows(), QStringList{QStringLiteral("1|王五|11010519491231002X|村A")});
        // Nothing typed: the whole unit and year, as the initials search lists it.
        p.box.setContent(QString());
        searchByMember(p.state, m_register.connection, p.controls, kClock);
        QCOMPARE(p.rows().size(), 2);
        // ... and nothing across every unit.
        p.everywhere.setChecked(true);
        searchByMember(p.state, m_register.connection, p.controls, kClock);
        QVERIFY(p.rows().isEmpty());
    }

    void untickedDoesNothing()
    {
        Page p;
        p.byMember.setChecked(false);
        p.list.insertRow();
        p.box.setContent(QStringLiteral("张"));
        searchByMember(p.state, m_register.connection, p.controls, kClock);
        QCOMPARE(p.list.rowCount(), 2);
    }

    void longListIsCutAndSaysSo()
    {
        MemberRegister big;
        REQUIRE_MEMBER_REGISTER(big);
        for (int i = 0; i <= kMemberSearchLimit; ++i)
            big.add(2026, QStringLiteral("村%1").arg(i), {QStringLiteral("张%1:110101199003071233").arg(i)});
        Page p;
        p.everywhere.setChecked(true);
        p.box.setContent(QStringLiteral("张"));
        searchByMember(p.state, big.connection, p.controls, kClock);
        QCOMPARE(p.rows().size(), kMemberSearchLimit);
        QCOMPARE(p.note.caption(), QStringLiteral("只列出前%1户,请输入更多内容").arg(kMemberSearchLimit));
        p.box.setContent(QStringLiteral("张7"));
        searchByMember(p.state, big.connection, p.controls, kClock);
        QCOMPARE(p.note.caption(), QString());
    }

private:
    MemberRegister m_register;
};

QTEST_MAIN(MemberSearchListTest)
#include "tst_member_search_list.moc"
