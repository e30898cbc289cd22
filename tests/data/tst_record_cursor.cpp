#include "register_fixture.h"

#include <QTest>

using fenlark::RecordSet;

namespace {
const QString kRegions = QStringLiteral("区域管理");
const QString kName = QStringLiteral("单位名称");
const QString kLevel = QStringLiteral("标识");

QStringList names(const char *joined)
{
    return QString::fromUtf8(joined).split(u',', Qt::SkipEmptyParts);
}
} // namespace

// Opening, walking and searching the rows of a set.
class RecordCursorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensInTheAskedOrder_data();
    void opensInTheAskedOrder();
    void refusesToOpen_data();
    void refusesToOpen();
    void openWithBoundValues_data();
    void openWithBoundValues();
    void appendOnlyShowsOnlyItsOwnRows();
    void emptySetIsAtTheEnd();
    void moveFromFirst_data();
    void moveFromFirst();
    void isAtEndKeepsTheLastRow();
    void movesOnAClosedSet();
    void find_data();
    void find();
    void findNextContinuesAfterTheLastRowFound();
    void findNextWithoutCriterionOrAfterAFailure();
    void findBackward();
    void findNextAfterWrites_data();
    void findNextAfterWrites();
    void findEqualsARowByRowWalk_data();
    void findEqualsARowByRowWalk();

private:
    RegisterFixture *m_store = nullptr;
    RecordSet *m_set = nullptr;
};

void RecordCursorTest::init()
{
    m_store = new RegisterFixture;
    REQUIRE_REGISTER(m_store);
    m_set = new RecordSet;
    QVERIFY(m_set->attach(m_store->connection()));
}

void RecordCursorTest::cleanup()
{
    delete m_set;
    delete m_store;
}

void RecordCursorTest::opensInTheAskedOrder_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("table, insertion order")
        << QStringLiteral("table") << kRegions << QString() << kName << names("乡A,中国,村B,省C,乡D");
    QTest::newRow("sorted by level, ties in insertion order")
        << QStringLiteral("sorted") << kRegions << QStringLiteral("标识 ASC") << kName << names("中国,省C,乡A,乡D,村B");
    QTest::newRow("households newest first")
        << QStringLiteral("sorted") << QStringLiteral("成员信息") << QStringLiteral("id DESC") << QStringLiteral("户主")
        << names("丁,丙,乙,甲");
    QTest::newRow("households of one year")
        << QStringLiteral("where") << QStringLiteral("成员信息") << QStringLiteral("录入年份=2016")
        << QStringLiteral("户主") << names("甲,丙");
    QTest::newRow("a year without households")
        << QStringLiteral("where") << QStringLiteral("成员信息") << QStringLiteral("录入年份=1999")
        << QStringLiteral("户主") << QStringList();
}

void RecordCursorTest::opensInTheAskedOrder()
{
    QFETCH(QString, how);
    QFETCH(QString, table);
    QFETCH(QString, argument);
    QFETCH(QString, column);
    QFETCH(QStringList, expected);

    m_store->addRegion(4, QStringLiteral("乡A"), QStringLiteral("省C"));
    m_store->addRegion(1, QStringLiteral("中国"));
    m_store->addRegion(5, QStringLiteral("村B"), QStringLiteral("乡A"));
    m_store->addRegion(2, QStringLiteral("省C"), QStringLiteral("中国"));
    m_store->addRegion(4, QStringLiteral("乡D"), QStringLiteral("省C"));
    m_store->addHousehold(2016, QStringLiteral("甲"));
    m_store->addHousehold(2017, QStringLiteral("乙"));
    m_store->addHousehold(2016, QStringLiteral("丙"));
    m_store->addHousehold(2017, QStringLiteral("丁"));

    bool opened = false;
    if (how == QLatin1String("table"))
        opened = m_set->openTable(table);
    else if (how == QLatin1String("sorted"))
        opened = m_set->openSorted(table, argument);
    else
        opened = m_set->openWhere(table, argument);
    QVERIFY(opened);
    QVERIFY(m_set->isOpen());
    QCOMPARE(m_set->isAtEnd(), expected.isEmpty()); // after an open the first row is current
    QCOMPARE(walkColumn(*m_set, column), expected);
}

void RecordCursorTest::refusesToOpen_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("argument");
    QTest::newRow("no such table") << QStringLiteral("table") << QStringLiteral("没有") << QString();
    QTest::newRow("no such order column") << QStringLiteral("sorted") << kRegions << QStringLiteral("没有 ASC");
    QTest::newRow("broken condition") << QStringLiteral("where") << kRegions << QStringLiteral("标识=");
}

void RecordCursorTest::refusesToOpen()
{
    QFETCH(QString, how);
    QFETCH(QString, table);
    QFETCH(QString, argument);
    m_store->addRegion(1, QStringLiteral("中国"));
    QVERIFY(m_set->openTable(kRegions));

    bool opened = true;
    if (how == QLatin1String("table"))
        opened = m_set->openTable(table);
    else if (how == QLatin1String("sorted"))
        opened = m_set->openSorted(table, argument);
    else
        opened = m_set->openWhere(table, argument);
    QVERIFY(!opened);
    // The earlier opening is closed first, whatever the new one does.
    QVERIFY(!m_set->isOpen());
    QVERIFY(m_set->isAtEnd());
    QVERIFY(!m_set->deleteAll()); // no table name remembered
    QVERIFY(!m_store->connection().errorText().isEmpty());

    RecordSet unattached;
    QVERIFY(!unattached.openTable(kRegions));
    QVERIFY(unattached.isAtEnd());
}

void RecordCursorTest::openWithBoundValues_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QStringList>("expected");
    // A quote in a bound name is only a character: the same text in the condition would end it.
    QTest::newRow("year and a name with a quote") << QVariantList{2016, QStringLiteral("O'丙")} << names("O'丙");
    QTest::newRow("the same name in another year") << QVariantList{2017, QStringLiteral("O'丙")} << names("O'丙");
    QTest::newRow("no such name") << QVariantList{2016, QStringLiteral("O'")} << QStringList();
    QTest::newRow("a mark left unbound matches nothing") << QVariantList{2016} << QStringList();
}

void RecordCursorTest::openWithBoundValues()
{
    QFETCH(QVariantList, values);
    QFETCH(QStringList, expected);
    m_store->addHousehold(2016, QStringLiteral("甲"));
    m_store->addHousehold(2016, QStringLiteral("O'丙"));
    m_store->addHousehold(2017, QStringLiteral("O'丙"));
    std::vector<fenlark::FieldValue> bound;
    for (const QVariant &value : values)
        bound.push_back(value.typeId() == QMetaType::Int ? fenlark::FieldValue::fromInteger(value.toInt())
                                                         : fenlark::FieldValue::fromText(value.toString()));
    QVERIFY(m_set->openWhere(QStringLiteral("成员信息"), QStringLiteral("录入年份 = ? AND 户主 = ?"), bound));
    QCOMPARE(walkColumn(*m_set, QStringLiteral("户主")), expected);
}

void RecordCursorTest::appendOnlyShowsOnlyItsOwnRows()
{
    m_store->addHousehold(2016, QStringLiteral("甲"));
    QVERIFY(m_set->openForAppend(QStringLiteral("成员信息")));
    QVERIFY(m_set->isAtEnd());
    QVERIFY(!m_set->moveFirst());
    for (const char16_t *head : {u"乙", u"丙"}) {
        QVERIFY(m_set->addNew());
        QVERIFY(m_set->writeText(QStringLiteral("户主"), QString::fromUtf16(head)));
        QVERIFY(m_set->update());
        QString shown;
        QVERIFY(m_set->readText(QStringLiteral("户主"), shown)); // the new row is the current one
        QCOMPARE(shown, QString::fromUtf16(head));
    }
    QCOMPARE(walkColumn(*m_set, QStringLiteral("户主")), names("乙,丙"));
    QCOMPARE(m_store->count(QStringLiteral("成员信息")), 3);
}

void RecordCursorTest::emptySetIsAtTheEnd()
{
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->isAtEnd());
    QVERIFY(!m_set->moveFirst());
    QVERIFY(m_set->isAtEnd());
    QVERIFY(!m_set->moveNext());
    QVERIFY(!m_set->moveFromFirst(0));
    QString text = QStringLiteral("x");
    QVERIFY(!m_set->readText(kName, text));
    QCOMPARE(text, QString());
}

void RecordCursorTest::moveFromFirst_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0 is the first row") << 0 << true << QStringLiteral("r0");
    QTest::newRow("1") << 1 << true << QStringLiteral("r1");
    QTest::newRow("the last row") << 4 << true << QStringLiteral("r4");
    QTest::newRow("just beyond") << 5 << true << QStringLiteral("<end>");
    QTest::newRow("far beyond") << 1000 << true << QStringLiteral("<end>");
    QTest::newRow("before the first") << -1 << false << QStringLiteral("<end>");
}

void RecordCursorTest::moveFromFirst()
{
    QFETCH(int, n);
    QFETCH(bool, result);
    QFETCH(QString, expected);
    for (int i = 0; i < 5; ++i)
        m_store->addRegion(5, QStringLiteral("r%1").arg(i));
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveNext()); // starting elsewhere changes nothing
    QCOMPARE(m_set->moveFromFirst(n), result);
    QCOMPARE(current(*m_set, kName), expected);
}

void RecordCursorTest::isAtEndKeepsTheLastRow()
{
    m_store->addRegion(1, QStringLiteral("a"));
    m_store->addRegion(1, QStringLiteral("b"));
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveNext());
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!m_set->isAtEnd());
        QCOMPARE(current(*m_set, kName), QStringLiteral("b"));
    }
    QVERIFY(m_set->moveNext());
    QVERIFY(m_set->isAtEnd());
    QVERIFY(!m_set->moveNext()); // nothing beyond the end
    QVERIFY(m_set->isAtEnd());
}

void RecordCursorTest::movesOnAClosedSet()
{
    m_store->addRegion(1, QStringLiteral("a"));
    QVERIFY(m_set->openTable(kRegions));
    m_set->close();
    m_set->close(); // harmless twice
    QVERIFY(!m_set->isOpen());
    QVERIFY(m_set->isAtEnd());
    QVERIFY(!m_set->moveFirst());
    QVERIFY(!m_set->moveNext());
    QVERIFY(!m_set->moveFromFirst(0));
    QVERIFY(!m_set->find(QStringLiteral("单位名称='a'")));
    QVERIFY(!m_set->findNext());
    QVERIFY(!m_set->addNew());
    QVERIFY(!m_set->update());
    QVERIFY(!m_set->deleteCurrent());
    QVERIFY(!m_set->deleteAll());
    QVERIFY(!m_set->writeText(kName, QStringLiteral("b")));
}

void RecordCursorTest::find_data()
{
    QTest::addColumn<QStringList>("rows"); // unit names, level = position
    QTest::addColumn<int>("start");        // moveFromFirst before the find
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("row"); // the row found

    const QStringList units = {QStringLiteral("甲"), QStringLiteral("O'Brien"), QStringLiteral("乙"),
                               QStringLiteral("甲"), QStringLiteral("abc")};
    const auto row = [&](const char *name, const QStringList &rows, int start, const QString &criterion, bool found,
                         int at = -1) { QTest::newRow(name) << rows << start << criterion << found << at; };
    row("empty set", {}, 0, QStringLiteral("单位名称='甲'"), false);
    row("no row satisfies", units, 0, QStringLiteral("单位名称='丙'"), false);
    row("the current row itself", units, 0, QStringLiteral("单位名称='甲'"), true, 0);
    row("from a later row", units, 1, QStringLiteral("单位名称='甲'"), true, 3);
    row("from the row found", units, 3, QStringLiteral("单位名称='甲'"), true, 3);
    row("from the end", units, 5, QStringLiteral("单位名称='甲'"), false);
    row("case-sensitive", units, 0, QStringLiteral("单位名称='ABC'"), false);
    row("exact case", units, 0, QStringLiteral("单位名称='abc'"), true, 4);
    row("a blank is content", units, 0, QStringLiteral("单位名称='甲 '"), false);
    row("unescaped apostrophe", units, 0, QStringLiteral("单位名称='O'Brien'"), false);
    row("doubled apostrophe", units, 0, QStringLiteral("单位名称='O''Brien'"), true, 1);
    row("quoted number against integer", units, 0, QStringLiteral("标识='2'"), true, 2);
    row("unquoted number against integer", units, 0, QStringLiteral("标识=4"), true, 4);
    row("integer padded text", units, 0, QStringLiteral("标识=' 3 '"), true, 3);
    row("word against integer", units, 0, QStringLiteral("标识='二'"), false);
    row("no such column", units, 0, QStringLiteral("没有='甲'"), false);
    row("column case-insensitive ascii", units, 0, QStringLiteral("[单位名称]='乙'"), true, 2);
}

void RecordCursorTest::find()
{
    QFETCH(QStringList, rows);
    QFETCH(int, start);
    QFETCH(QString, criterion);
    QFETCH(bool, found);
    QFETCH(int, row);
    for (int i = 0; i < rows.size(); ++i)
        m_store->addRegion(i, rows.at(i));
    QVERIFY(m_set->openTable(kRegions));
    m_set->moveFromFirst(start);

    QCOMPARE(m_set->find(criterion, 1), found);
    if (!found) {
        QVERIFY(m_set->isAtEnd());
        QVERIFY(!m_set->findNext());
        QVERIFY(m_set->isAtEnd());
        return;
    }
    int level = -1;
    QVERIFY(m_set->readInt(kLevel, level));
    QCOMPARE(level, row);
}

void RecordCursorTest::findNextContinuesAfterTheLastRowFound()
{
    for (const char *name : {"甲", "乙", "甲", "丙", "甲"})
        m_store->addRegion(1, QString::fromUtf8(name), QString::fromUtf8(name) + QStringLiteral("父"));
    QVERIFY(m_set->openTable(kRegions));
    m_set->moveFirst();
    QVERIFY(m_set->find(QStringLiteral("单位名称='甲'")));
    QCOMPARE(current(*m_set, QStringLiteral("直属管辖")), QStringLiteral("甲父"));

    // Moving the cursor in between does not change where findNext goes on from.
    m_set->moveFromFirst(4);
    QVERIFY(m_set->findNext());
    QVERIFY(m_set->moveNext());
    QCOMPARE(current(*m_set, kName), QStringLiteral("丙")); // the second 甲 was row 2
    m_set->moveFirst();
    QVERIFY(m_set->findNext());
    QVERIFY(m_set->moveNext());
    QCOMPARE(current(*m_set, kName), QStringLiteral("<end>")); // the third 甲 was the last row
    QVERIFY(!m_set->findNext());
    QVERIFY(m_set->isAtEnd());

    // The program's search loop collects every match in order.
    m_set->moveFirst();
    int matches = 0;
    bool found = m_set->find(QStringLiteral("单位名称='甲'"), 1);
    while (found) {
        ++matches;
        found = m_set->findNext();
    }
    QCOMPARE(matches, 3);
}

void RecordCursorTest::findNextWithoutCriterionOrAfterAFailure()
{
    m_store->addRegion(1, QStringLiteral("甲"));
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(!m_set->findNext());
    QVERIFY(!m_set->isAtEnd()); // nothing remembered: nothing moved

    QVERIFY(!m_set->find(QStringLiteral("单位名称='乙'")));
    m_set->moveFirst();
    QVERIFY(!m_set->findNext());
    QVERIFY(m_set->isAtEnd());

    QVERIFY(m_set->find(QStringLiteral("单位名称='甲'")) == false); // from the end nothing is found
    m_set->moveFirst();
    QVERIFY(m_set->find(QStringLiteral("单位名称='甲'")));
    // A new open forgets the row found.
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(!m_set->findNext());
}

void RecordCursorTest::findBackward()
{
    for (const char *name : {"甲", "乙", "甲", "丙"})
        m_store->addRegion(1, QString::fromUtf8(name), QStringLiteral("p"));
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveFromFirst(3));
    QVERIFY(m_set->find(QStringLiteral("单位名称='甲'"), -1));
    QVERIFY(m_set->moveNext());
    QCOMPARE(current(*m_set, kName), QStringLiteral("丙"));
    QVERIFY(m_set->findNext());
    QVERIFY(m_set->moveNext());
    QCOMPARE(current(*m_set, kName), QStringLiteral("乙"));
    QVERIFY(!m_set->findNext());
    QVERIFY(m_set->isAtEnd());
}

void RecordCursorTest::findNextAfterWrites_data()
{
    // Between find and the findNexts that follow, a write to the rows of the cursor. The rows are
    // 甲 p0, 乙 p1, 丙 p2, 甲 p3 (名称 and 直属管辖); find stops at p0.
    QTest::addColumn<QString>("write");
    QTest::addColumn<QStringList>("found"); // 直属管辖 of the rows findNext then finds, in order

    QTest::newRow("nothing written") << QStringLiteral("none") << names("p3");
    QTest::newRow("a row ahead now matches") << QStringLiteral("p2 to 甲") << names("p2,p3");
    QTest::newRow("a row ahead no longer matches") << QStringLiteral("p3 to 丁") << QStringList();
    QTest::newRow("the row found rewritten") << QStringLiteral("p0 to 丁") << names("p3");
    QTest::newRow("the row found deleted") << QStringLiteral("delete p0") << names("p3");
    QTest::newRow("a matching row added") << QStringLiteral("add 甲") << names("p3,new");
    QTest::newRow("a row ahead changed elsewhere") << QStringLiteral("elsewhere p3 to 丁") << names("p3");
    QTest::newRow("a row ahead matches elsewhere") << QStringLiteral("elsewhere p2 to 甲") << names("p3");
}

void RecordCursorTest::findNextAfterWrites()
{
    QFETCH(QString, write);
    QFETCH(QStringList, found);
    for (const char *name : {"甲", "乙", "丙", "甲"})
        m_store->addRegion(1, QString::fromUtf8(name));
    QVERIFY(m_store->exec(QStringLiteral("UPDATE 区域管理 SET 直属管辖 = 'p' || (rowid - 1)")));
    QVERIFY(m_set->openTable(kRegions));
    m_set->moveFirst();
    QVERIFY(m_set->find(QStringLiteral("单位名称='甲'")));
    QCOMPARE(current(*m_set, QStringLiteral("直属管辖")), QStringLiteral("p0"));

    RecordSet other;
    other.attach(m_store->connection());
    QVERIFY(other.openTable(kRegions));
    const QStringList words = write.split(u' ');
    const auto rowOf = [](const QString &p) { return p.mid(1).toInt(); };
    if (words.size() == 3 && words[1] == QLatin1String("to")) {
        QVERIFY(m_set->moveFromFirst(rowOf(words[0])));
        QVERIFY(m_set->writeText(kName, words[2]));
        QVERIFY(m_set->update());
    } else if (words[0] == QLatin1String("delete")) {
        QVERIFY(m_set->moveFromFirst(rowOf(words[1])));
        QVERIFY(m_set->deleteCurrent());
    } else if (words[0] == QLatin1String("add")) {
        QVERIFY(m_set->addNew());
        QVERIFY(m_set->writeText(kName, words[1]));
        QVERIFY(m_set->writeText(QStringLiteral("直属管辖"), QStringLiteral("new")));
        QVERIFY(m_set->update());
    } else if (words[0] == QLatin1String("elsewhere")) {
        // This set keeps showing the row as it was, and its findNext judges it by that.
        QVERIFY(other.moveFromFirst(rowOf(words[1])));
        QVERIFY(other.writeText(kName, words[3]));
        QVERIFY(other.update());
    }
    m_set->moveFirst(); // where the cursor is does not matter: findNext goes on from p0

    QStringList next;
    while (m_set->findNext() && next.size() < 10)
        next << current(*m_set, QStringLiteral("直属管辖"));
    QCOMPARE(next, found);
    QVERIFY(m_set->isAtEnd());
}

void RecordCursorTest::findEqualsARowByRowWalk_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<int>("matches"); // as this set shows the rows
    QTest::newRow("text") << QStringLiteral("户主") << QStringLiteral("'张三'") << 15;
    QTest::newRow("text changed elsewhere") << QStringLiteral("户主") << QStringLiteral("'李四'") << 15;
    QTest::newRow("text only written elsewhere") << QStringLiteral("户主") << QStringLiteral("'王五'") << 0;
    QTest::newRow("integer") << QStringLiteral("录入年份") << QStringLiteral("'2016'") << 20;
    QTest::newRow("double") << QStringLiteral("年收入") << QStringLiteral("1.5") << 12;
    QTest::newRow("yes/no") << QStringLiteral("是否党员") << QStringLiteral("'TRUE'") << 30;
    QTest::newRow("date-time") << QStringLiteral("录入时间") << QStringLiteral("'2016-04-13 08:05:09'") << 9;
}

void RecordCursorTest::findEqualsARowByRowWalk()
{
    QFETCH(QString, column);
    QFETCH(QString, literal);
    QFETCH(int, matches);
    QVERIFY(m_store->exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59) "
        "INSERT INTO 成员信息 (录入年份, 户主, 年收入, 是否党员, 录入时间) "
        "SELECT 2015 + i % 3, CASE i % 4 WHEN 0 THEN '张三' WHEN 1 THEN '李四' WHEN 2 THEN NULL ELSE '张三 ' END, "
        "(i % 5) * 0.5, i % 2, CASE WHEN i % 7 = 0 THEN '2016-04-13 08:05:09' ELSE '2017-01-01 00:00:00' END "
        "FROM n")));

    // Another set rewrites every third row after this one opened: this set still shows them
    // as they were, and its finds must judge them by that.
    QVERIFY(m_set->openSorted(QStringLiteral("成员信息"), QStringLiteral("户主 DESC, 年收入")));
    RecordSet other;
    other.attach(m_store->connection());
    QVERIFY(other.openTable(QStringLiteral("成员信息")));
    for (int i = 0; i < 60; i += 3) {
        QVERIFY(other.moveFromFirst(i));
        QVERIFY(other.writeText(QStringLiteral("户主"), QStringLiteral("王五")));
        QVERIFY(other.writeInt(QStringLiteral("录入年份"), 2016));
        QVERIFY(other.writeDouble(QStringLiteral("年收入"), 1.5));
        QVERIFY(other.writeBool(QStringLiteral("是否党员"), true));
        QVERIFY(other.writeDateTime(QStringLiteral("录入时间"), 42473.33690972222));
        QVERIFY(other.update());
    }

    QString expected = literal;
    expected.remove(u'\'');
    QStringList walked;
    m_set->moveFirst();
    while (!m_set->isAtEnd()) {
        QString text;
        QString id;
        m_set->readText(column, text);
        m_set->readText(QStringLiteral("id"), id);
        const bool equal = column == QStringLiteral("年收入")
                               ? !text.isEmpty() && text.toDouble() == expected.toDouble()
                               : text == expected;
        if (equal)
            walked << id;
        m_set->moveNext();
    }
    QCOMPARE(walked.size(), matches);

    QStringList found;
    m_set->moveFirst();
    for (bool hit = m_set->find(column + u'=' + literal); hit; hit = m_set->findNext()) {
        QString id;
        m_set->readText(QStringLiteral("id"), id);
        found << id;
    }
    QCOMPARE(found, walked);
}

QTEST_GUILESS_MAIN(RecordCursorTest)
#include "tst_record_cursor.moc"
