// The query window: its criteria in SQL beside the literal walk (the reference), its region
// and keyword lists, and the list it writes.
#include "literal_walks.h"
#include "odd_values.h"
#include "test_register.h"

#include "core/app_state.h"
#include "core/clock.h"
#include "data/keyword_catalogue.h"
#include "data/record_set.h"
#include "data/statement.h"
#include "registry/household_criteria.h"
#include "registry/query_row_reader.h"
#include "registry/query_window.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/egrid.h"
#include "ui/label.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sqlite3.h>

using namespace fenlark;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));

void fill(TestRegister &reg)
{
    const QString insert = QStringLiteral(
        "INSERT INTO 成员信息 (所属管辖, 户主, 户主信息, 是否计划生育, 是否合作医疗, 是否养老保险, 健康状况, "
        "是否违法, 是否残疾, 是否上访户, 是否党员, 标签, 录入年份) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QString units[] = {QStringLiteral("甲村"), QStringLiteral("乙村"), QStringLiteral("")};
    const QString health[] = {QStringLiteral("健康"), QStringLiteral("慢性疾病"), QStringLiteral("")};
    const QString tags[] = {QStringLiteral("种植,养殖"), QStringLiteral("养殖"), QStringLiteral(""),
                            QStringLiteral("种植"), QStringLiteral("种植,养殖")};
    for (int i = 0; i < 60; ++i) {
        QVariantList row{units[i % 3], QStringLiteral("户主%1").arg(i), QStringLiteral("户主%1-男-C%1-小学").arg(i)};
        for (int bit = 0; bit < 7; ++bit) {
            if (bit == 3)
                row << (i % 7 == 0 ? QVariant() : QVariant(health[i % 3]));
            row << ((i >> bit) % 2 == 0 ? QVariant(qint64(0)) : (i % 11 == 0 ? QVariant() : QVariant(qint64(1))));
        }
        row << (i % 13 == 0 ? QVariant() : QVariant(tags[i % 5])) << 2020 + i % 4;
        QVERIFY(reg.run(insert, row));
    }
    QVERIFY(addOddHouseholds(reg.connection(), QStringLiteral("甲村"), QStringLiteral("镇一")));
}

// A result row as the list shows it, numbered n: its 13 cells joined by "|".
QString cells(int n, const HouseholdListRow &r)
{
    const auto flag = [](bool b) { return QString::number(b); };
    return QStringList{QString::number(n),
                       r.headName,
                       r.headCard,
                       r.unit,
                       r.category,
                       flag(r.familyPlanning),
                       flag(r.medicalCare),
                       flag(r.pensionInsurance),
                       r.health,
                       flag(r.offence),
                       flag(r.disabled),
                       flag(r.partyMember),
                       r.savedAt}
        .join(u'|');
}

QStringList literals(std::initializer_list<const char *> values)
{
    QStringList list;
    for (const char *value : values)
        list << QString::fromUtf8(value);
    return list;
}

// The 标签 values fill() stores, as SQL literals.
QStringList fillValues()
{
    const char *tags[] = {"'种植,养殖'", "'养殖'", "''", "'种植'", "'种植,养殖'"};
    QStringList values;
    for (int i = 0; i < 60; ++i)
        values << (i % 13 == 0 ? QStringLiteral("NULL") : QString::fromUtf8(tags[i % 5]));
    return values;
}

} // namespace

class QueryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameRowsAsLiteralWalk_data();
    void sameRowsAsLiteralWalk();
    void keywordListAsLiteralWalk_data();
    void keywordListAsLiteralWalk();
    void keywordListOfOlderRegisters_data();
    void keywordListOfOlderRegisters();
    void windowListsAndQuery();
    void criteriaIndexesOnEitherEngine();
};

void QueryTest::sameRowsAsLiteralWalk_data()
{
    QTest::addColumn<int>("which");
    for (int i = 0; i < 19; ++i)
        QTest::newRow(qPrintable(QStringLiteral("case %1").arg(i))) << i;
}

void QueryTest::sameRowsAsLiteralWalk()
{
    QFETCH(int, which);
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    fill(reg);
    HouseholdCriteria c;
    switch (which) {
    case 0:
        break; // every switch off, all units
    case 1:
        c.unit = QStringLiteral("甲村");
        c.familyPlanning = true;
        c.medicalCare = false;
        break;
    case 2:
        c.health = QString();
        break; // "是否健康" with no value: the empty health texts
    case 3:
        c.keyword = QStringLiteral("养殖");
        break;
    case 4:
        c.keyword = QStringLiteral("种植,养殖");
        break; // the joined text matches no part
    case 5:
        c.keyword = QString();
        c.partyMember = true;
        break;
    case 6:
        c.unit = QString();
        break; // a unit outside the villages: only empty units
    case 7:
        c.pensionInsurance = true;
        c.offence = true;
        c.disabled = false;
        c.petitioner = true;
        break;
    case 8:
        c.unit = QStringLiteral("乙村");
        c.health = QStringLiteral("慢性疾病");
        c.keyword = QStringLiteral("种植");
        break;
    case 9:
        c.keyword = QStringLiteral("[BLOB]");
        break; // a BLOB reads as this text
    case 10:
        c.keyword = QString(QChar(0xFFFD));
        break; // bytes that are not UTF-8 read as the replacement character
    case 11:
        c.keyword = QStringLiteral("中");
        break; // the same bytes as a BLOB do not count
    case 12:
        c.familyPlanning = true;
        c.medicalCare = true;
        c.petitioner = true;
        break; // yes/no columns holding words and fractions
    case 13:
        c.familyPlanning = false;
        c.pensionInsurance = false;
        c.offence = false;
        c.disabled = false;
        c.partyMember = false;
        break;
    case 14:
        c.pensionInsurance = true;
        c.offence = true;
        c.partyMember = true;
        c.disabled = true;
        break;
    case 15: // every village, several criteria and a keyword: lists of their own, intersected
        c.health = QStringLiteral("健康");
        c.partyMember = false;
        c.medicalCare = true;
        c.keyword = QStringLiteral("种植");
        break;
    case 16: // a health no household has, beside a switch
        c.health = QStringLiteral("无此状况");
        c.familyPlanning = true;
        break;
    case 17: // a BLOB's text as the health, over every village beside a switch
        c.health = QStringLiteral("[BLOB]");
        c.medicalCare = true;
        break;
    case 18: // the empty health (NULL, '' and an empty BLOB), beside a switch that asks for no
        c.health = QString();
        c.partyMember = false;
        c.disabled = true;
        break;
    }
    QStringList got;
    int n = 1;
    for (const HouseholdListRow &row : selectByCriteria(reg.connection(), c, kClock))
        got << cells(n++, row);
    const QStringList literal = literalQueryRows(reg.connection(), c, kClock);
    QCOMPARE(got, literal);

    // The list as the window shows it: the rowids, the cells read when asked for.
    EGrid list;
    list.setColumnCount(13);
    list.showListedRows(selectIdsByCriteria(reg.connection(), c),
                        std::make_shared<QueryRowReader>(reg.connection(), kClock));
    QStringList shown;
    for (int row = 1; row < list.rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < 13; ++column) {
            const bool check = column == 5 || column == 6 || column == 7 || column == 9 || column == 10 || column == 11;
            texts << (check ? QString::number(list.cellChecked(row, column)) : list.cellText(row, column));
        }
        shown << texts.join(u'|');
    }
    QCOMPARE(shown, literal);

    // The list as the export reads it: all its rows in one block.
    QStringList exported;
    for (const GridListedRow &row : list.readRows(1, list.rowCount())) {
        QStringList texts;
        for (const GridCell &cell : row.cells)
            texts << (cell.check ? QString::number(cell.checked) : cell.text);
        exported << texts.join(u'|');
    }
    QCOMPARE(exported, literal);
}

void QueryTest::keywordListAsLiteralWalk_data()
{
    // The stored 标签 values in row order (ids from 1), as SQL literals: a register made by hand
    // or imported may hold blobs and texts that are no UTF-8. Then the changes made to them,
    // which the list must follow: its first rows move when households go or change.
    // odd: the values are BLOBs or bytes that are no UTF-8, which only a register file can hold.
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("odd");
    const QStringList none;
    QTest::newRow("the register's own") << fillValues() << none << false;
    QTest::newRow("empty") << QStringList() << none << false;
    QTest::newRow("empty forms") << literals({"'a'", "X''", "NULL", "''", "'b'"}) << none << true;
    QTest::newRow("empty forms without a blob") << literals({"'a'", "NULL", "''", "'b'", "NULL"}) << none << false;
    QTest::newRow("blobs") << literals({"X'E7A78D'", "'种植'", "X'00'", "X'E7A78D'", "'[BLOB]'", "NULL"}) << none
                           << true;
    QTest::newRow("blob shown as its name after the text")
        << literals({"'[BLOB]'", "X'01'", "'z'", "X'02'"}) << none << true;
    QTest::newRow("not UTF-8") << literals({"CAST(X'FF' AS TEXT)", "'a'", "CAST(X'FE' AS TEXT)",
                                            "CAST(X'E7A7' AS TEXT)", "CAST(X'61FF' AS TEXT)", "'a'"})
                               << none << true;
    QTest::newRow("first row decides, not the order of the values")
        << literals({"'z'", "'y'", "'x'", "'y'", "'a'", "'z'"}) << none << false;

    const auto sql = [](std::initializer_list<const char *> statements) { return literals(statements); };
    QTest::newRow("first holder deleted: the next one leads")
        << literals({"'a'", "'b'", "'a'", "'c'"}) << sql({"DELETE FROM 成员信息 WHERE id = 1"}) << false;
    QTest::newRow("last holder deleted: the text goes")
        << literals({"'a'", "'b'", "'c'", "'b'"}) << sql({"DELETE FROM 成员信息 WHERE id IN (2, 4)"}) << false;
    QTest::newRow("every household deleted")
        << literals({"'a'", "NULL", "''"}) << sql({"DELETE FROM 成员信息"}) << false;
    QTest::newRow("text changed, away from its first row and to another's")
        << literals({"'a'", "'b'", "'a'"})
        << sql({"UPDATE 成员信息 SET 标签 = 'z' WHERE id = 1", "UPDATE 成员信息 SET 标签 = 'b' WHERE id = 3"}) << false;
    QTest::newRow("text written again unchanged")
        << literals({"'a'", "'b'", "'a'"}) << sql({"UPDATE 成员信息 SET 标签 = 'a' WHERE id = 1"}) << false;
    QTest::newRow("a household put before the first holder")
        << literals({"'x'", "'a'", "'b'"})
        << sql({"DELETE FROM 成员信息 WHERE id = 1", "INSERT INTO 成员信息 (id, 标签) VALUES (1, 'b')"}) << false;
    QTest::newRow("emptied and refilled") << literals({"'a'", "'b'"})
                                          << sql({"DELETE FROM 成员信息", "INSERT INTO 成员信息 (标签) VALUES ('b')",
                                                  "INSERT INTO 成员信息 (标签) VALUES ('a')"})
                                          << false;
    QTest::newRow("to and from NULL and the empty text")
        << literals({"'a'", "NULL", "''", "'a'"})
        << sql({"UPDATE 成员信息 SET 标签 = NULL WHERE id = 1", "UPDATE 成员信息 SET 标签 = 'n' WHERE id = 2",
                "UPDATE 成员信息 SET 标签 = '' WHERE id = 4", "DELETE FROM 成员信息 WHERE id = 3"})
        << false;
    QTest::newRow("odd values changed and deleted")
        << literals({"X'E7A78D'", "'种植'", "CAST(X'FF' AS TEXT)", "X'E7A78D'", "NULL"})
        << sql({"UPDATE 成员信息 SET 标签 = '种植' WHERE id = 1", "DELETE FROM 成员信息 WHERE id = 2",
                "UPDATE 成员信息 SET 标签 = X'00' WHERE id = 5", "UPDATE 成员信息 SET 标签 = 'b' WHERE id = 3"})
        << true;
}

void QueryTest::keywordListAsLiteralWalk()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, changes);
    QFETCH(bool, odd);
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    if (odd && !oddValuesStorable(reg.connection()))
        QSKIP("a server register's text column holds no BLOB nor bytes that are no UTF-8");
    for (const QString &value : stored)
        QVERIFY(reg.run(QStringLiteral("INSERT INTO 成员信息 (标签) VALUES (%1)").arg(value)));
    for (const QString &change : changes)
        QVERIFY2(reg.run(change), qPrintable(change));
    QCOMPARE(distinctKeywordTexts(reg.connection()), literalKeywordTexts(reg.connection()));
}

void QueryTest::keywordListOfOlderRegisters_data()
{
    // What becomes of the keyword list's catalogue, as the file is when the program opens it.
    QTest::addColumn<QString>("before");  // SQL run on the register, then closed
    QTest::addColumn<bool>("readOnly");   // the file then opened read-only
    QTest::addColumn<bool>("catalogued"); // a catalogue kept by triggers afterwards
    const QString dropped = QStringLiteral("DROP TABLE 标签汇总; DROP TRIGGER 标签汇总_添加; "
                                           "DROP TRIGGER 标签汇总_删除; DROP TRIGGER 标签汇总_修改;");
    const QString changed =
        QStringLiteral("INSERT INTO 成员信息 (标签) VALUES ('新'); "
                       "UPDATE 成员信息 SET 标签 = '改' WHERE id = 1; DELETE FROM 成员信息 WHERE id = 2;");
    QTest::newRow("made before the catalogue") << dropped + changed << false << true;
    QTest::newRow("made before the catalogue, read-only") << dropped + changed << true << false;
    QTest::newRow("a trigger gone, households changed meanwhile")
        << QStringLiteral("DROP TRIGGER 标签汇总_删除; DROP TRIGGER 标签汇总_修改;") + changed << false << true;
    QTest::newRow("changed by another writer, triggers in place") << changed << false << true;
    QTest::newRow("标签 declared a number by hand")
        << dropped + QStringLiteral(
                         "ALTER TABLE 成员信息 RENAME COLUMN 标签 TO 旧标签; "
                         "ALTER TABLE 成员信息 ADD COLUMN 标签 NUMERIC; "
                         "UPDATE 成员信息 SET 标签 = 旧标签; INSERT INTO 成员信息 (标签) VALUES (1.0), (1), ('1');")
        << false << false;
}

void QueryTest::keywordListOfOlderRegisters()
{
    QFETCH(QString, before);
    QFETCH(bool, readOnly);
    QFETCH(bool, catalogued);
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    if (reg.connection().isServer())
        QSKIP("the catalogue is a register file's; a server groups the households");
    for (const QString &value : fillValues())
        QVERIFY(reg.run(QStringLiteral("INSERT INTO 成员信息 (标签) VALUES (%1)").arg(value)));
    QVERIFY(keywordCatalogueReady(reg.connection()));
    reg.connection().close();
    {
        // Another writer, which keeps nothing but what the file itself holds.
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(reg.path()).constData(), &db), SQLITE_OK);
        char *error = nullptr;
        const int rc = sqlite3_exec(db, before.toUtf8().constData(), nullptr, nullptr, &error);
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        QVERIFY2(rc == SQLITE_OK, qPrintable(message));
    }
    if (readOnly) {
        QVERIFY(QFile::setPermissions(reg.path(), QFileDevice::ReadOwner));
        if (QFileInfo(reg.path()).isWritable())
            QSKIP("running with rights that write any file");
    }
    DBConnection reopened;
    QVERIFY(reopened.connectAccess(reg.path(), QString()));
    QCOMPARE(keywordCatalogueReady(reopened), catalogued);
    QCOMPARE(distinctKeywordTexts(reopened), literalKeywordTexts(reopened));
    if (readOnly)
        return;
    // From here on kept by the file: a change by this connection shows at once.
    QVERIFY(execScript(reopened, QStringLiteral("DELETE FROM 成员信息 WHERE id = 3; "
                                                "INSERT INTO 成员信息 (标签) VALUES ('末');")));
    QCOMPARE(distinctKeywordTexts(reopened), literalKeywordTexts(reopened));
}

void QueryTest::windowListsAndQuery()
{
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    fill(reg);
    AppState state;
    state.villageNames = {QStringLiteral("甲村"), QStringLiteral("乙村"), QStringLiteral("甲村")};
    state.currentSelection.unit = QStringLiteral("甲村");
    state.currentPage = 2;
    EGrid list;
    list.setColumnCount(13);
    Label count;
    QueryWindow window(state, reg.connection(), list, count, kClock);
    auto *regions = window.controls().control<ComboBox>(QStringLiteral("组合框1"));
    QCOMPARE(regions->itemCount(), 4);
    QCOMPARE(regions->itemText(3), QStringLiteral("全部"));
    QCOMPARE(regions->currentIndex(), 2); // the last equal item stays selected
    auto *keywords = window.controls().control<ComboBox>(QStringLiteral("组合框3"));
    QStringList items;
    for (int i = 0; i < keywords->itemCount(); ++i)
        items << keywords->itemText(i);
    QCOMPARE(items, literalKeywords(reg.connection()));
    const bool odd = oddValuesStorable(reg.connection());
    QCOMPARE(items.contains(QStringLiteral("[BLOB]")), odd);
    QCOMPARE(items.contains(QStringLiteral("中") + QChar(0xFFFD) + QStringLiteral(",克")), odd);
    regions->setCurrentIndex(3);
    window.runQuery();
    const int households = 60 + oddHouseholdCount(reg.connection());
    QCOMPARE(list.rowCount(), households + 1);
    QCOMPARE(list.cellText(households, 0), QString::number(households));
    QCOMPARE(list.cellText(1, 1), QStringLiteral("户主0"));
    QCOMPARE(list.cellText(1, 2), QStringLiteral("C0"));
    QCOMPARE(state.householdCount, households);
    QCOMPARE(count.caption(), QStringLiteral("总项目数：%1").arg(households));
    QCOMPARE(state.currentPage, 2);
    QVERIFY(window.controls().control<Button>(QStringLiteral("按钮_查询"))->isEnabled());
    state.currentSelection.unit = QStringLiteral("某镇"); // not a village: nothing selected
    QueryWindow other(state, reg.connection(), list, count, kClock);
    QCOMPARE(other.controls().control<ComboBox>(QStringLiteral("组合框1"))->currentIndex(), -1);
}

void QueryTest::criteriaIndexesOnEitherEngine()
{
    // The query's conditions are written on the very expressions of these indexes; a register
    // without them (on either engine) would read the whole table for every switch.
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    const bool server = reg.connection().isServer();
    Statement names(reg.connection(),
                    server ? QStringLiteral("SELECT indexname, indexdef FROM pg_indexes WHERE tablename = '成员信息' "
                                            "AND schemaname = current_schema() AND indexname LIKE '成员信息%'")
                           : QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                            "tbl_name = '成员信息' AND sql IS NOT NULL"));
    QHash<QString, QString> found;
    while (names.step())
        found.insert(names.text(0), names.text(1));
    for (const char *column :
         {"是否计划生育", "是否合作医疗", "是否养老保险", "是否违法", "是否残疾", "是否上访户", "是否党员"}) {
        const QString name = QStringLiteral("成员信息_") + QString::fromUtf8(column);
        QVERIFY2(found.contains(name), qPrintable(name));
        // The server writes the expression back in its own spelling (casts added, quotes dropped).
        const QString definition = found.value(name);
        const bool onExpression =
            server ? definition.contains(QStringLiteral("COALESCE(")) && definition.contains(QString::fromUtf8(column))
                   : definition.contains(QStringLiteral("(IFNULL(\"%1\", 0) <> 0)").arg(QString::fromUtf8(column)));
        QVERIFY2(onExpression, qPrintable(definition));
    }
    for (const char *name : {"成员信息_健康状况", "成员信息_管辖_年份", "成员信息_管辖_上级_年份",
                             "成员信息_管辖_首拼音", "成员信息_户主", "成员信息_标签", "成员信息_计数"})
        QVERIFY2(found.contains(QString::fromUtf8(name)), name);
}

QTEST_MAIN(QueryTest)
#include "tst_query.moc"
