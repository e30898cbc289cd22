#include "household_fixture.h"

#include <QLineEdit>
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
        QCOMPARE(f.years.itemText(0), QStringLiteral("2016")); // the year list was refilled
        QCOMPARE(f.years.itemCount(), 2);
        QCOMPARE(f.listRows().first(), QStringLiteral("1|张1|%1|村A").arg(card(1)));
        QCOMPARE(f.state.householdCount, 2);
        QCOMPARE(f.countLabel.caption(), QStringLiteral("总项目数：2"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("  添加成功！"));
        QCOMPARE(f.column(QStringLiteral("上级管辖"), QStringLiteral("张1")), QStringLiteral("镇一"));
    }

    void modify_data()
    {
        QTest::addColumn<QString>("newUnit");
        QTest::addColumn<int>("saveYear");
        QTest::addColumn<QStringList>("listAfter");
        QTest::addColumn<int>("countAfter");
        QTest::newRow("same unit") << QStringLiteral("村A") << 2016
                                   << QStringList{QStringLiteral("1|张三|%1|村A").arg(card(1))} << 1;
        QTest::newRow("other unit") << QStringLiteral("村B") << 2016 << QStringList{} << 0;
        QTest::newRow("later year") << QStringLiteral("村A") << 2017
                                    << QStringList{QStringLiteral("1|张三|%1|村A").arg(card(1))} << 1;
    }
    void modify()
    {
        QFETCH(QString, newUnit);
        QFETCH(int, saveYear);
        QFETCH(QStringList, listAfter);
        QFETCH(int, countAfter);
        HouseholdFixture f;
        f.clock.set(QDateTime(QDate(saveYear, 3, 1), QTime(8, 5, 9)));
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(1, 1);
        f.dialogs.onNextModal([&](QDialog *w) {
            control<ComboBox>(w, u"组合框3")->setContent(newUnit);
            control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("新地址"));
            clickSave(w);
            QVERIFY(!w->isVisible());
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QCOMPARE(f.households(), QStringList{QStringLiteral("%1|%2|张三|新地址").arg(saveYear).arg(newUnit)});
        QCOMPARE(f.listRows(), listAfter);
        QCOMPARE(f.state.householdCount, countAfter);
        QVERIFY(f.storedYears().contains(QString::number(saveYear)));
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

    // "全部" lists households of every year while currentSelection.year keeps an earlier
    // choice: each row still finds its own record.
    void rowsOfOtherYearsUnderAllYears()
    {
        HouseholdFixture f;
        f.addHousehold(2014, QStringLiteral("李四"), QStringLiteral("村A"), card(2));
        f.addHousehold(2015, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1), false); // same identity
        QCOMPARE(f.state.currentSelection.year, 2016);

        f.list.setCursorCell(2, 1);
        bool loaded = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            loaded = form(w)->loadedHousehold();
            QCOMPARE(control<EditBox>(w, u"编辑框9")->content(), QStringLiteral("村A一号"));
            control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("新地址"));
            // The two 2016 households share one card, so the save warns of the duplicate; 是.
            f.dialogs.answerNext(true);
            clickSave(w);
            QVERIFY(f.dialogs.shown().back().question);
            QVERIFY(!w->isVisible());
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(loaded);
        QCOMPARE(f.households(),
                 (QStringList{QStringLiteral("2014|村A|李四|村A一号"), QStringLiteral("2016|村A|张三|新地址"),
                              QStringLiteral("2016|村A|张三|村A一号")}));

        f.list.setCursorCell(1, 1);
        f.dialogs.answerNext(true);
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QCOMPARE(f.households().size(), 2);
        QCOMPARE(f.households().first(), QStringLiteral("2016|村A|张三|新地址"));
        QCOMPARE(f.listRows(), QStringList{QStringLiteral("1|张三|%1|村A").arg(card(1))});
    }

    // The query window lists households of every village while currentSelection.unit names the
    // village chosen on the page: each row still finds its own record, in its own village.
    void rowsOfOtherVillagesFromTheQueryList()
    {
        HouseholdFixture f;
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.addHousehold(2015, QStringLiteral("张三"), QStringLiteral("村B"), card(3));
        f.addHousehold(2016, QStringLiteral("李四"), QStringLiteral("村B"), card(2));
        QCOMPARE(f.state.currentSelection.unit, QStringLiteral("村A"));

        f.list.setCursorCell(2, 1);
        bool loaded = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            loaded = form(w)->loadedHousehold();
            QCOMPARE(control<EditBox>(w, u"编辑框9")->content(), QStringLiteral("村B一号"));
            control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("新地址"));
            clickSave(w);
            QVERIFY(!w->isVisible());
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(loaded);
        QCOMPARE(f.households(),
                 (QStringList{QStringLiteral("2016|村A|张三|村A一号"), QStringLiteral("2016|村B|张三|新地址"),
                              QStringLiteral("2016|村B|李四|村B一号")}));

        const int before = f.list.rowCount();
        f.list.setCursorCell(before - 1, 1);
        f.dialogs.answerNext(true);
        deleteHousehold(f.state, f.mainSet, f.list, f.countLabel, f.dialogs, nullptr);
        QCOMPARE(f.households(),
                 (QStringList{QStringLiteral("2016|村A|张三|村A一号"), QStringLiteral("2016|村B|张三|新地址")}));
        QCOMPARE(f.list.rowCount(), before - 1);
    }

    void fullWidthAmountsAreStoredAsNumbers()
    {
        HouseholdFixture f;
        f.dialogs.onNextModal([](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), card(1));
            control<RadioBox>(w, u"单选框6")->setChecked(true);
            // Typed key by key, as an input method in full-width mode sends them.
            const auto type = [](EditBox *box, const QString &text) {
                for (const QChar c : text)
                    QTest::sendKeyEvent(QTest::Click, box->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
            };
            type(control<EditBox>(w, u"编辑框2"), QStringLiteral("１２０"));
            type(control<EditBox>(w, u"编辑框11"), QStringLiteral("－３．５"));
            type(control<EditBox>(w, u"编辑框14"), QStringLiteral("１２．５"));
            clickSave(w);
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QCOMPARE(f.column(QStringLiteral("社保缴纳金额"), QStringLiteral("张三")), QStringLiteral("120.0"));
        QCOMPARE(f.column(QStringLiteral("上年度领取的低保金"), QStringLiteral("张三")), QStringLiteral("-3.5"));
        QCOMPARE(f.column(QStringLiteral("年收入"), QStringLiteral("张三")), QStringLiteral("12.5"));
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
        QCOMPARE(f.dialogs.lastText(),
                 QStringLiteral("删除后将不能被恢复,请确认是否继续删除!\n\n户主：张三  身份证：%1").arg(card(1)));
        QCOMPARE(f.dialogs.shown().back().defaultAnswer, DefaultAnswer::No); // Return never deletes
    }
};

QTEST_MAIN(HouseholdSaveTest)
#include "tst_household_save.moc"
