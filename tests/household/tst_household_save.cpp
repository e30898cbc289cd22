#include "household_fixture.h"

#include <QtTest>

using namespace fenlark;

class HouseholdSaveTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addUnderShownUnitRegistersYearOnce()
    {
        HouseholdFixture f;
        for (int i = 0; i < 2; ++i) {
            f.dialogs.onNextModal([i](QDialog *w) {
                fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张%1").arg(i), card(i));
                clickSave(w);
                QVERIFY(!w->isVisible());
            });
            openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        }
        QCOMPARE(f.households().size(), 2);
        QCOMPARE(f.storedYears(), QStringList{QStringLiteral("2016")});
        QCOMPARE(f.listRows().first(), QStringLiteral("1|张1|%1|村A").arg(card(1)));
        QCOMPARE(f.state.householdCount, 2);
        QCOMPARE(f.countLabel.caption(), QStringLiteral("总项目数：2"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("  添加成功！"));
        QCOMPARE(f.column(QStringLiteral("上级管辖"), QStringLiteral("张1")), QStringLiteral("镇一"));
    }

    void failingWriteKeepsWindowAndList()
    {
        HouseholdFixture f;
        QVERIFY(execScript(f.connection, QStringLiteral("DROP TABLE 年份管理")));
        bool stillOpen = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), card(1));
            clickSave(w);
            stillOpen = w->isVisible();
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(stillOpen);
        QVERIFY(f.households().isEmpty()); // the row went back with the failed year
        QVERIFY(f.listRows().isEmpty());
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    }

    void deleteTheRightOneOfTwoSameNamedHeads()
    {
        HouseholdFixture f;
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村B"), card(1), false);
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(1, 1);
        f.dialogs.answerNext(true);
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QCOMPARE(f.households(), QStringList{QStringLiteral("2016|村B|张三|村B一号")});
        QVERIFY(f.listRows().isEmpty());
        QCOMPARE(f.countLabel.caption(), QStringLiteral("总项目数：0"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("删除后将不能被恢复,请确认是否继续删除!"));
    }
};

QTEST_MAIN(HouseholdSaveTest)
#include "tst_household_save.moc"
