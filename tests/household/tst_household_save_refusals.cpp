// Saves that must not look like saves, an add under another unit, and the deletion's refusals.
#include "household_fixture.h"

#include <QtTest>

using namespace fenlark;

class HouseholdSaveRefusalsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addUnderAnotherUnitLeavesListAlone()
    {
        HouseholdFixture f;
        bool closed = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            fillValidForm(w, QStringLiteral("村B"), QStringLiteral("李四"), card(2));
            clickSave(w);
            closed = !w->isVisible();
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(closed);
        QCOMPARE(f.households().size(), 1);
        QVERIFY(f.listRows().isEmpty());
        QCOMPARE(f.state.householdCount, 0);
        QVERIFY(f.dialogs.shown().empty()); // no "添加成功" for another unit
    }

    void modifyOfVanishedHouseholdKeepsWindowOpen()
    {
        HouseholdFixture f;
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(1, 1);
        const QStringList listBefore = f.listRows();
        bool stillOpen = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            // Deleted elsewhere while the form was open.
            QVERIFY(execScript(f.connection, QStringLiteral("DELETE FROM 成员信息")));
            control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("新地址"));
            clickSave(w);
            stillOpen = w->isVisible();
            w->reject();
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(stillOpen);
        QVERIFY(f.households().isEmpty()); // nothing written in its place
        QCOMPARE(f.listRows(), listBefore);
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    }

    void modifyOfHouseholdChangedByAnotherClerkIsRefused()
    {
        // A register whose households carry a version, as on a county server.
        HouseholdFixture f;
        QVERIFY(execScript(f.connection,
                           QStringLiteral("ALTER TABLE 成员信息 ADD COLUMN 版本 INTEGER NOT NULL DEFAULT 1")));
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(1, 1);
        bool stillOpen = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            // Another clerk saves the same household while this form is open.
            QVERIFY(execScript(f.connection, QStringLiteral("UPDATE 成员信息 SET 家庭住址 = '他的地址', "
                                                            "录入时间 = '2016-04-30 09:15:00', 版本 = 版本 + 1")));
            control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("新地址"));
            clickSave(w);
            stillOpen = w->isVisible();
            w->reject();
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(stillOpen);
        QCOMPARE(f.column(QStringLiteral("家庭住址"), QStringLiteral("张三")), QStringLiteral("他的地址"));
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("该农户已于 2016-04-30 09:15:00 被其他录入员修改或删除,"
                                                      "本次修改没有保存,请关闭后重新打开再修改!"));
    }

    void entriesTheGridCannotShowAreNotDroppedWithoutAsking()
    {
        HouseholdFixture f;
        QStringList entries;
        for (int i = 0; i < 8; ++i)
            entries << QStringLiteral("成员%1-男-%2-%3-汉族-初中")
                           .arg(i)
                           .arg(card(i))
                           .arg(i == 0 ? QStringLiteral("户主") : QStringLiteral("儿子"));
        f.addHousehold(2016, QStringLiteral("成员0"), QStringLiteral("村A"), card(0), true, entries.join(u','));
        f.list.setCursorCell(1, 1);
        bool stillOpen = false;
        f.dialogs.answerNext(false);
        f.dialogs.onNextModal([&](QDialog *w) {
            clickSave(w);
            stillOpen = w->isVisible();
            w->reject();
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(stillOpen);
        QVERIFY(f.dialogs.shown().back().question);
        Statement stored(f.connection, QStringLiteral("SELECT 家庭人员信息 FROM 成员信息"));
        QVERIFY(stored.step());
        QCOMPARE(stored.text(0), entries.join(u','));
    }

    void pensionAmountStoredAsTyped()
    {
        HouseholdFixture f;
        f.dialogs.onNextModal([](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), card(1));
            control<RadioBox>(w, u"单选框6")->setChecked(true);
            control<EditBox>(w, u"编辑框2")->setContent(QStringLiteral("1234.56"));
            clickSave(w);
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        Statement stored(f.connection, QStringLiteral("SELECT 社保缴纳金额, 是否养老保险 FROM 成员信息"));
        QVERIFY(stored.step());
        QCOMPARE(stored.real(0), 1234.56); // not 1234.56005859375, as single precision would give
        QCOMPARE(stored.int64(1), qint64(1));
    }

    void deletionRefusals()
    {
        HouseholdFixture f;
        // A header-only list: nothing at all, not even a message.
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QVERIFY(f.dialogs.shown().empty());

        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(-1, 0);
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral(" 当前未载入成员,无法删除!"));
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);

        f.list.setCursorCell(1, 1);
        f.dialogs.answerNext(false);
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QVERIFY(f.dialogs.lastText().startsWith(QStringLiteral("删除后将不能被恢复,请确认是否继续删除!")));
        QVERIFY(f.dialogs.shown().back().question);
        QCOMPARE(f.dialogs.shown().back().defaultAnswer, DefaultAnswer::No);
        QCOMPARE(f.households().size(), 1);
        QCOMPARE(f.list.rowCount(), 2);

        // Confirmed, but the stored household is gone (deleted elsewhere): said, not passed over.
        QVERIFY(execScript(f.connection, QStringLiteral("DELETE FROM 成员信息")));
        f.dialogs.answerNext(true);
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("要删除的农户已被删除或改动,找不到原记录,没有删除任何农户!"));
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
        QCOMPARE(f.list.rowCount(), 2);
    }
};

QTEST_MAIN(HouseholdSaveRefusalsTest)
#include "tst_household_save_refusals.moc"
