#include "household/member_grid.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"

#include <QtTest>

using namespace fenlark;

namespace {

// A member grid as the form's design makes it: header and seven member rows.
void makeGrid(EGrid &grid)
{
    grid.setColumnCount(6);
    for (int r = 0; r < memberGrid::kMemberRows; ++r)
        grid.insertRow();
    grid.setEditable(true);
    memberGrid::setUp(grid);
}

void setRow(EGrid &grid, int row, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c)
        grid.setCell(row, c, EGrid::TextCell, cells.at(c));
}

QStringList rowCells(const EGrid &grid, int row)
{
    QStringList cells;
    for (int c = 0; c < 6; ++c)
        cells << grid.cellText(row, c);
    return cells;
}

const QString kCard = QStringLiteral("110101199001011234");

} // namespace

class MemberGridTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setUpShape()
    {
        EGrid grid;
        makeGrid(grid);
        QCOMPARE(grid.rowCount(), 8);
        QCOMPARE(rowCells(grid, 0),
                 (QStringList{QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("身份证号"),
                              QStringLiteral("文化程度"), QStringLiteral("与户主关系"), QStringLiteral("民族")}));
        const int widths[] = {40, 150, 60, 80, 100};
        for (int c = 1; c < 6; ++c)
            QCOMPARE(grid.columnWidth(c), widths[c - 1]);
        QCOMPARE(grid.cellAlignment(0, 3), int(EGrid::AlignCentre));
        QCOMPARE(grid.columnListItems(1),
                 (QStringList{QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("未知")}));
        QCOMPARE(grid.columnListItems(3).size(), 6);
        QCOMPARE(grid.columnListItems(4).size(), 11);
        const QStringList nations = grid.columnListItems(5);
        QCOMPARE(nations.size(), 56);
        QCOMPARE(nations.first(), QStringLiteral("汉族"));
        QCOMPARE(nations.at(21), QStringLiteral("仡佬族"));
        QCOMPARE(nations.last(), QStringLiteral("珞巴族"));
        QVERIFY(grid.columnListItems(0).isEmpty());
        QVERIFY(grid.columnListItems(2).isEmpty());
    }

    void normalise_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("chosen item stays") << 1 << QStringLiteral("女") << QStringLiteral("女");
        QTest::newRow("3 in relation") << 4 << QStringLiteral("3") << QStringLiteral("儿子");
        QTest::newRow("12 beyond relation list") << 4 << QStringLiteral("12") << QStringLiteral("12");
        QTest::newRow("11 last relation") << 4 << QStringLiteral("11") << QStringLiteral("其它");
        QTest::newRow("0 in sex") << 1 << QStringLiteral("0") << QStringLiteral("0");
        QTest::newRow("2 in education") << 3 << QStringLiteral("2") << QStringLiteral("初中");
        QTest::newRow("56 in nation") << 5 << QStringLiteral("56") << QStringLiteral("珞巴族");
        QTest::newRow("2 in name") << 0 << QStringLiteral("2") << QStringLiteral("2");
        QTest::newRow("2 in card") << 2 << QStringLiteral("2") << QStringLiteral("2");
        QTest::newRow("free text") << 4 << QStringLiteral("表哥") << QStringLiteral("表哥");
    }
    void normalise()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        EGrid grid;
        makeGrid(grid);
        grid.setCell(2, column, EGrid::TextCell, typed);
        QVERIFY(grid.setCursorCell(2, column));
        memberGrid::normaliseCursorCell(grid);
        QCOMPARE(grid.cellText(2, column), after);
    }

    void editEndedNormalisesThroughTheSignal()
    {
        EGrid grid;
        makeGrid(grid);
        QObject::connect(&grid, &EGrid::editEnded, &grid, [&grid] { memberGrid::normaliseCursorCell(grid); });
        grid.setCursorCell(1, 4);
        grid.setCell(1, 4, EGrid::TextCell, QStringLiteral("2"));
        Q_EMIT grid.editEnded(1, 4);
        QCOMPARE(grid.cellText(1, 4), QStringLiteral("配偶"));
    }

    void clearRow()
    {
        EGrid grid;
        makeGrid(grid);
        ScriptedDialogs dialogs;
        setRow(grid, 2,
               {QStringLiteral("李四"), QStringLiteral("女"), kCard, QStringLiteral("小学"), QStringLiteral("配偶"),
                QStringLiteral("汉族")});
        grid.setCursorCell(-1, 0);
        memberGrid::clearCursorRow(grid, dialogs, nullptr);
        QCOMPARE(dialogs.shown().size(), size_t(1));
        QCOMPARE(dialogs.lastText(), QStringLiteral("请选择需要删除的行号!"));
        QCOMPARE(dialogs.shown().back().icon, MessageIcon::Error);
        QCOMPARE(grid.cellText(2, 0), QStringLiteral("李四"));

        grid.setCursorCell(2, 3);
        memberGrid::clearCursorRow(grid, dialogs, nullptr);
        QCOMPARE(rowCells(grid, 2), QStringList(6, QString()));
        QCOMPARE(grid.rowCount(), 8);
        QCOMPARE(dialogs.shown().size(), size_t(1));
        QCOMPARE(memberGrid::pack(grid).members, QString());
    }

    // Rows as typed → what the save stores → the rows a load gives back.
    void packAndLoad_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("members");
        QTest::addColumn<QString>("headInfo");
        QTest::addColumn<QList<QStringList>>("loaded");
        const QString zh = QStringLiteral("张三");
        const QString li = QStringLiteral("李四");
        const QStringList head{
            zh, QStringLiteral("男"), kCard, QStringLiteral("初中"), QStringLiteral("户主"), QStringLiteral("汉族")};
        const QStringList spouse{li,        QStringLiteral("女"),   kCard,
                                 QString(), QStringLiteral("配偶"), QStringLiteral("回族")};
        const QStringList empty(6, QString());
        QTest::newRow("head and spouse") << QList<QStringList>{head, spouse}
                                         << zh + QStringLiteral("-男-") + kCard + QStringLiteral("-户主-汉族-初中,") +
                                                li + QStringLiteral("-女-") + kCard + QStringLiteral("-配偶-回族-")
                                         << zh + QStringLiteral("-男-") + kCard + QStringLiteral("-初中")
                                         << QList<QStringList>{head, spouse};
        QTest::newRow("unnamed row left out, named moved up")
            << QList<QStringList>{{QString(), QStringLiteral("男"), kCard, QString(), QString(), QString()}, head}
            << zh + QStringLiteral("-男-") + kCard + QStringLiteral("-户主-汉族-初中")
            << zh + QStringLiteral("-男-") + kCard + QStringLiteral("-初中") << QList<QStringList>{head, empty};
        QTest::newRow("only the card besides the name")
            << QList<QStringList>{{li, QString(), kCard, QString(), QString(), QString()}}
            << li + QStringLiteral("--") + kCard + QStringLiteral("---") << QString()
            << QList<QStringList>{{li, QString(), kCard, QString(), QString(), QString()}};
        QTest::newRow("nobody") << QList<QStringList>{} << QString() << QString() << QList<QStringList>{empty};
    }
    void packAndLoad()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, members);
        QFETCH(QString, headInfo);
        QFETCH(QList<QStringList>, loaded);
        EGrid typed;
        makeGrid(typed);
        for (int r = 0; r < rows.size(); ++r)
            setRow(typed, r + 1, rows.at(r));
        const memberGrid::Packed packed = memberGrid::pack(typed);
        QVERIFY(packed.ok);
        QCOMPARE(packed.members, members);
        QCOMPARE(packed.headInfo, headInfo);

        EGrid shown;
        makeGrid(shown);
        const memberGrid::LoadReport report = memberGrid::load(shown, packed.members);
        QVERIFY(!report.lostSomething());
        for (int r = 0; r < loaded.size(); ++r)
            QCOMPARE(rowCells(shown, r + 1), loaded.at(r));
        if (!members.isEmpty())
            QCOMPARE(shown.cellAlignment(1, 5), int(EGrid::AlignCentre));
        QCOMPARE(rowCells(shown, 7), QStringList(6, QString()));
    }

    // The save stops at the first named row it cannot pack, naming the member.
    void packRefusals_data()
    {
        QTest::addColumn<QString>("cardText");
        QTest::addColumn<QString>("nameText");
        QTest::addColumn<QString>("message");
        QTest::newRow("17 ASCII") << QStringLiteral("11010119900101123") << QStringLiteral("王五")
                                  << QStringLiteral(" 王五身份证长度不足18位!");
        QTest::newRow("19 ASCII") << QStringLiteral("1101011990010112345") << QStringLiteral("王五")
                                  << QStringLiteral(" 王五身份证长度不足18位!");
        QTest::newRow("empty card") << QString() << QStringLiteral("王五")
                                    << QStringLiteral(" 王五身份证长度不足18位!");
        QTest::newRow("16 ASCII and one Chinese")
            << QStringLiteral("1101011990010112号") << QStringLiteral("王五") << QString();
        QTest::newRow("dash in the name")
            << kCard << QStringLiteral("王-五") << QStringLiteral(" 王-五的姓名中不能含有\"-\"或\",\",请修改后再保存!");
        QTest::newRow("comma in the card") << QStringLiteral("11010119900101123,") << QStringLiteral("王五")
                                           << QStringLiteral(" 王五的身份证号中不能含有\"-\"或\",\",请修改后再保存!");
    }
    void packRefusals()
    {
        QFETCH(QString, cardText);
        QFETCH(QString, nameText);
        QFETCH(QString, message);
        EGrid grid;
        makeGrid(grid);
        setRow(grid, 3,
               {nameText, QStringLiteral("男"), cardText, QStringLiteral("小学"), QStringLiteral("户主"),
                QStringLiteral("汉族")});
        const memberGrid::Packed packed = memberGrid::pack(grid);
        QCOMPARE(packed.ok, message.isEmpty());
        QCOMPARE(packed.message, message);
        if (!packed.ok)
            QCOMPARE(grid.cellText(3, 2), cardText); // the grid keeps what was typed
    }

    void headCount()
    {
        EGrid grid;
        makeGrid(grid);
        QCOMPARE(memberGrid::headCount(grid), 0);
        grid.setCell(7, 4, EGrid::TextCell, QStringLiteral("户主")); // no name: counts all the same
        QCOMPARE(memberGrid::headCount(grid), 1);
        grid.setCell(2, 4, EGrid::TextCell, QStringLiteral("户主"));
        QCOMPARE(memberGrid::headCount(grid), 2);
        grid.setCell(3, 4, EGrid::TextCell, QStringLiteral("户主 "));
        QCOMPARE(memberGrid::headCount(grid), 2);
    }

    void loadOddStoredTexts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("entriesDropped");
        QTest::addColumn<int>("fieldsDropped");
        QTest::addColumn<QStringList>("lastShownRow");
        QStringList eight;
        for (int i = 1; i <= 9; ++i)
            eight << QStringLiteral("人%1-男-%2-儿子-汉族-小学").arg(i).arg(kCard);
        QTest::newRow("nine entries") << eight.join(u',') << 7 << 2 << 0
                                      << QStringList{
                                             QStringLiteral("人7"),  QStringLiteral("男"),   kCard,
                                             QStringLiteral("小学"), QStringLiteral("儿子"), QStringLiteral("汉族")};
        QTest::newRow("short entry")
            << QStringLiteral("赵六-女") << 1 << 0 << 0
            << QStringList{QStringLiteral("赵六"), QStringLiteral("女"), QString(), QString(), QString(), QString()};
        QTest::newRow("extra field") << QStringLiteral("赵六-女-%1-妹-汉族-大学-多余").arg(kCard) << 1 << 0 << 1
                                     << QStringList{
                                            QStringLiteral("赵六"), QStringLiteral("女"), kCard,
                                            QStringLiteral("大学"), QStringLiteral("妹"), QStringLiteral("汉族")};
    }
    void loadOddStoredTexts()
    {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(int, entriesDropped);
        QFETCH(int, fieldsDropped);
        QFETCH(QStringList, lastShownRow);
        EGrid grid;
        makeGrid(grid);
        const memberGrid::LoadReport report = memberGrid::load(grid, stored);
        QCOMPARE(report.entriesShown, shown);
        QCOMPARE(report.entriesDropped, entriesDropped);
        QCOMPARE(report.fieldsDropped, fieldsDropped);
        QCOMPARE(grid.rowCount(), 8);
        QCOMPARE(rowCells(grid, shown), lastShownRow);
    }
};

QTEST_MAIN(MemberGridTest)
#include "tst_member_grid.moc"
