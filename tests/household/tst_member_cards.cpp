#include "household_fixture.h"

#include "ui/grid_model.h"

#include <QtTest>

using namespace fenlark;

namespace {

const QString kValid = QStringLiteral("110101199003071233"); // a man born 7 March 1990

QString question(const QStringList &lines)
{
    return QStringLiteral("下列成员的身份证号需要核实:\n") + lines.join(u'\n') + QStringLiteral("\n是否仍然保存?");
}

// The questions the save asked, in order.
QStringList questions(const ScriptedDialogs &dialogs)
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &shown : dialogs.shown()) {
        if (shown.question) {
            texts << shown.text;
            if (shown.defaultAnswer != DefaultAnswer::No)
                texts << QStringLiteral("<Return saves>");
        }
    }
    return texts;
}

// Types a cell as the user does, through the grid's model, so the edit-ended notification runs.
void typeCell(EGrid &grid, int row, int column, const QString &text)
{
    grid.setCursorCell(row, column);
    GridModel *model = grid.gridModel();
    model->setData(model->index(row - 1, column), text, Qt::EditRole);
}

void setRow(EGrid &grid, int row, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c)
        grid.setCell(row, c, EGrid::TextCell, cells.at(c));
}

} // namespace

class MemberCardsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cardChecksAtSave_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("problems"); // empty: no question
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("stored");
        QTest::newRow("valid") << kValid << QStringLiteral("男") << QString() << false << true;
        QTest::newRow("check X") << QStringLiteral("11010519491231002X") << QStringLiteral("女") << QString() << false
                                 << true;
        QTest::newRow("check x kept as typed")
            << QStringLiteral("11010519491231002x") << QStringLiteral("女") << QString() << false << true;
        QTest::newRow("wrong check digit, 是") << QStringLiteral("110101199003071234") << QStringLiteral("男")
                                               << QStringLiteral("校验位不正确") << true << true;
        QTest::newRow("wrong check digit, 否") << QStringLiteral("110101199003071234") << QStringLiteral("男")
                                               << QStringLiteral("校验位不正确") << false << false;
        QTest::newRow("19990230, 否") << QStringLiteral("11010119990230001X") << QStringLiteral("男")
                                      << QStringLiteral("出生日期无效") << false << false;
        QTest::newRow("born after the save day, 是") << QStringLiteral("110101201701010016") << QStringLiteral("男")
                                                     << QStringLiteral("出生日期无效") << true << true;
        QTest::newRow("man's card for a woman, 否") << QStringLiteral("110101199003071233") << QStringLiteral("女")
                                                    << QStringLiteral("性别与身份证不符") << false << false;
        QTest::newRow("sex 未知 not compared")
            << QStringLiteral("110101199003071241") << QStringLiteral("未知") << QString() << false << true;
        QTest::newRow("everything wrong, 是")
            << QStringLiteral("110101199902300011") << QStringLiteral("女")
            << QStringLiteral("校验位不正确、出生日期无效、性别与身份证不符") << true << true;
    }
    void cardChecksAtSave()
    {
        QFETCH(QString, card);
        QFETCH(QString, sex);
        QFETCH(QString, problems);
        QFETCH(bool, answer);
        QFETCH(bool, stored);
        HouseholdFixture f;
        REQUIRE_HOUSEHOLD_FIXTURE(f);
        f.dialogs.answerNext(answer);
        bool open = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), card);
            form(w)->memberGrid().setCell(1, 1, EGrid::TextCell, sex);
            clickSave(w);
            open = w->isVisible();
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        const QStringList asked =
            problems.isEmpty()
                ? QStringList()
                : QStringList{question({QStringLiteral(" 张三 ") + card + QStringLiteral(": ") + problems})};
        QCOMPARE(questions(f.dialogs), asked);
        QCOMPARE(open, !stored);
        QCOMPARE(f.households().size(), stored ? 1 : 0);
        if (stored) {
            QCOMPARE(f.column(QStringLiteral("户主信息"), QStringLiteral("张三")),
                     QStringLiteral("张三-%1-%2-初中").arg(sex, card));
            QCOMPARE(f.dialogs.lastText(), QStringLiteral("  添加成功！"));
        } else {
            QVERIFY(f.listRows().isEmpty());
        }
    }

    void duplicateCards_data()
    {
        QTest::addColumn<int>("storedYear");
        QTest::addColumn<QString>("storedCard");
        QTest::addColumn<QString>("secondMemberCard"); // 李四, 配偶 of the new household
        QTest::addColumn<QStringList>("lines");
        const QString other = card(7);
        QTest::newRow("another household of the year")
            << 2016 << kValid << other
            << QStringList{
                   QStringLiteral(" 张三 %1: 已登记在其他农户(户主 王五, 所属管辖 村B, 年份 2016)").arg(kValid)};
        QTest::newRow("another household of an earlier year") << 2015 << kValid << other << QStringList{};
        QTest::newRow("twice in this household")
            << 2015 << other << kValid
            << QStringList{QStringLiteral(" 张三 %1: 与本户李四的身份证号相同").arg(kValid),
                           QStringLiteral(" 李四 %1: 与本户张三的身份证号相同").arg(kValid)};
        QTest::newRow("a member of another household, written with x")
            << 2016 << QStringLiteral("11010519491231002x") << QStringLiteral("11010519491231002X")
            << QStringList{
                   QStringLiteral(" 李四 11010519491231002X: 已登记在其他农户(户主 王五, 所属管辖 村B, 年份 2016)")};
    }
    void duplicateCards()
    {
        QFETCH(int, storedYear);
        QFETCH(QString, storedCard);
        QFETCH(QString, secondMemberCard);
        QFETCH(QStringList, lines);
        HouseholdFixture f;
        REQUIRE_HOUSEHOLD_FIXTURE(f);
        f.addHousehold(storedYear, QStringLiteral("王五"), QStringLiteral("村B"), card(9), false,
                       QStringLiteral("王五-男-%1-户主-汉族-初中,王小-女-%2-女儿-汉族-").arg(card(9), storedCard));
        f.dialogs.answerNext(false);
        f.dialogs.onNextModal([&](QDialog *w) {
            fillValidForm(w, QStringLiteral("村A"), QStringLiteral("张三"), kValid);
            setRow(form(w)->memberGrid(), 2,
                   {QStringLiteral("李四"), QString(), secondMemberCard, QString(), QStringLiteral("配偶")});
            clickSave(w);
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QCOMPARE(questions(f.dialogs), lines.isEmpty() ? QStringList() : QStringList{question(lines)});
        QCOMPARE(f.households().size(), lines.isEmpty() ? 2 : 1);
    }

    void modifyingAHouseholdDoesNotFindItself()
    {
        HouseholdFixture f;
        REQUIRE_HOUSEHOLD_FIXTURE(f);
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(1, 1);
        f.dialogs.onNextModal([&](QDialog *w) {
            control<EditBox>(w, u"编辑框9")->setContent(QStringLiteral("新地址"));
            clickSave(w);
        });
        openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QCOMPARE(questions(f.dialogs), QStringList());
        QCOMPARE(f.households(), QStringList{QStringLiteral("2016|村A|张三|新地址")});
    }

    void savedHouseholdIsFoundAsADuplicateNextTime()
    {
        HouseholdFixture f;
        REQUIRE_HOUSEHOLD_FIXTURE(f);
        f.dialogs.answerNext(false);
        for (const QString &head : {QStringLiteral("张三"), QStringLiteral("张叁")}) {
            f.dialogs.onNextModal([&](QDialog *w) {
                fillValidForm(w, QStringLiteral("村A"), head, kValid);
                clickSave(w);
            });
            openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        }
        QCOMPARE(questions(f.dialogs),
                 QStringList{question(
                     {QStringLiteral(" 张叁 %1: 已登记在其他农户(户主 张三, 所属管辖 村A, 年份 2016)").arg(kValid)})});
        QCOMPARE(f.households().size(), 1);
    }

    void gridMarksAFailingCardWhenEdited()
    {
        HouseholdFixture f;
        REQUIRE_HOUSEHOLD_FIXTURE(f);
        f.dialogs.onNextModal([&](QDialog *w) {
            EGrid &grid = form(w)->memberGrid();
            typeCell(grid, 1, 2, QStringLiteral("110101199003071234"));
            QCOMPARE(grid.cellNote(1, 2), QStringLiteral("校验位不正确"));
            QVERIFY(grid.gridModel()->data(grid.gridModel()->index(0, 2), Qt::BackgroundRole).isValid());
            typeCell(grid, 1, 1, QStringLiteral("2")); // 女, by its position in the list
            QCOMPARE(grid.cellNote(1, 2), QStringLiteral("校验位不正确、性别与身份证不符"));
            typeCell(grid, 1, 2, QStringLiteral("12345"));
            QCOMPARE(grid.cellNote(1, 2), QStringLiteral("身份证号不是18位"));
            typeCell(grid, 1, 2, QStringLiteral("110101199003071241"));
            QCOMPARE(grid.cellNote(1, 2), QString());
            QVERIFY(!grid.gridModel()->data(grid.gridModel()->index(0, 2), Qt::BackgroundRole).isValid());
            typeCell(grid, 3, 2, QStringLiteral("110101199003071241"));
            QCOMPARE(grid.cellNote(3, 2), QStringLiteral("与本户第1行的身份证号相同"));
            QCOMPARE(grid.cellNote(1, 2), QStringLiteral("与本户第3行的身份证号相同"));
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
    }
};

QTEST_MAIN(MemberCardsTest)
#include "tst_member_cards.moc"
