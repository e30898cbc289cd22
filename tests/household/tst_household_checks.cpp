// The checks of 保存 as one table: a valid form with one thing broken each time shows that
// check's message with its icon, keeps the window open and writes nothing.
#include "household_fixture.h"

#include <QtTest>

using namespace fenlark;

namespace {

void breakForm(QDialog *w, int which)
{
    EGrid &grid = form(w)->memberGrid();
    switch (which) {
    case 1:
        control<ComboBox>(w, u"组合框3")->setCurrentIndex(-1);
        break;
    case 2:
        control<ComboBox>(w, u"组合框1")->setCurrentIndex(-1);
        break;
    case 3:
        control<RadioBox>(w, u"单选框2")->setChecked(false);
        break;
    case 4:
        control<RadioBox>(w, u"单选框3")->setChecked(false);
        break;
    case 5:
        control<RadioBox>(w, u"单选框5")->setChecked(false);
        break;
    case 6:
        control<RadioBox>(w, u"单选框6")->setChecked(true);
        break; // insured, no amount typed
    case 7:
        control<RadioBox>(w, u"单选框8")->setChecked(false);
        break;
    case 9:
        control<EditBox>(w, u"编辑框9")->setContent(QString());
        break;
    case 10:
        control<CheckBox>(w, u"选择框1")->setChecked(true);
        control<ComboBox>(w, u"组合框6")->setContent(QString());
        break;
    case 11:
        grid.setCell(1, 4, EGrid::TextCell, QStringLiteral("配偶"));
        break;
    case 12:
        grid.setCell(3, 4, EGrid::TextCell, QStringLiteral("户主"));
        break; // a nameless row counts too
    case 13:
        control<CheckBox>(w, u"选择框3")->setChecked(true);
        control<ComboBox>(w, u"组合框4")->setContent(QString());
        break;
    case 14:
        grid.setCell(1, 2, EGrid::TextCell, QStringLiteral("43012119800101123"));
        break; // 17 bytes
    case 15:
        grid.setCell(1, 2, EGrid::TextCell, QStringLiteral("4301211980010112345"));
        break; // 19 bytes
    case 16:
        grid.setCell(1, 0, EGrid::TextCell, QString());
        break; // the one head row has no name
    case 17:
        grid.setCell(1, 0, EGrid::TextCell, QString());
        control<CheckBox>(w, u"选择框3")->setChecked(true);
        control<ComboBox>(w, u"组合框4")->setContent(QString());
        break; // comes before the party post
    case 18:
        grid.setCell(1, 0, EGrid::TextCell, QString());
        grid.setCell(3, 4, EGrid::TextCell, QStringLiteral("户主"));
        break; // comes after two heads
    }
}

} // namespace

class HouseholdChecksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachCheck_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const int error = int(MessageIcon::Error);
        QTest::newRow("1 unit") << 1 << "所属管辖为必填项!" << error;
        QTest::newRow("2 category") << 2 << "农户属性不能为空!" << error;
        QTest::newRow("3 family planning") << 3 << "是否计划生育为必填项!" << error;
        QTest::newRow("4 medical care") << 4 << "是否参加合作医疗为必填项!" << error;
        QTest::newRow("5 pension") << 5 << "是否参加养老保险为必填项!" << error;
        QTest::newRow("6 pension amount")
            << 6 << "检查到当前用户已参加养老保险,请输入缴纳金额!" << int(MessageIcon::None);
        QTest::newRow("7 health") << 7 << "健康情况为必填项,不得为空!" << error;
        QTest::newRow("9 address") << 9 << "家庭住址不能为空!" << error;
        QTest::newRow("10 offence kind") << 10 << "违法行为不能为空!" << error;
        QTest::newRow("11 no head") << 11 << "家庭成员中必须设置一个为户主!" << error;
        QTest::newRow("12 two heads") << 12 << "家庭成员中只允许有一个户主!" << error;
        QTest::newRow("12b nameless head") << 16 << "户主姓名不能为空!" << error;
        QTest::newRow("12b before party post") << 17 << "户主姓名不能为空!" << error;
        QTest::newRow("12 before nameless head") << 18 << "家庭成员中只允许有一个户主!" << error;
        QTest::newRow("13 party post") << 13 << "党内职务不能为空!" << error;
        QTest::newRow("14 card of 17") << 14 << " 张三身份证长度不足18位!" << error;
        QTest::newRow("14 card of 19") << 15 << " 张三身份证长度不足18位!" << error;
    }

    void eachCheck()
    {
        QFETCH(int, which);
        QFETCH(QString, message);
        QFETCH(int, icon);
        HouseholdFixture f;
        bool stayedOpen = false;
        bool focusOnAmount = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), card(1));
            breakForm(w, which);
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            clickSave(w);
            stayedOpen = w->isVisible();
            focusOnAmount = control<EditBox>(w, u"编辑框2")->isAncestorOf(QApplication::focusWidget());
            w->reject();
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(stayedOpen);
        QCOMPARE(f.dialogs.lastText(), message);
        QCOMPARE(int(f.dialogs.shown().back().icon), icon);
        QCOMPARE(f.households().size(), 0);
        QCOMPARE(f.state.householdCount, 0);
        if (which == 6)
            QVERIFY(focusOnAmount);
    }

    void sixteenAsciiAndOneChinesePass()
    {
        HouseholdFixture f;
        // 18 bytes pass the length check; such a card has no check character, so the save asks
        // about it, and 是 stores it.
        f.dialogs.answerNext(true);
        f.dialogs.onNextModal([](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), QStringLiteral("4301211980010112号"));
            clickSave(w);
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QCOMPARE(f.households().size(), 1);
        QVERIFY(f.dialogs.shown().front().text.contains(QStringLiteral("4301211980010112号: 校验位不正确")));
    }
};

QTEST_MAIN(HouseholdChecksTest)
#include "tst_household_checks.moc"
