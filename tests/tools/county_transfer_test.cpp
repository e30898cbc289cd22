#include "cards/card_holders.h"
#include "cards/member_search.h"
#include "data/db_connection.h"
#include "data/server_schema.h"
#include "data/statement.h"
#include "fenlark-db/register_maker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace fenlark;

// fenlark-db push and pull: two townships' register files brought onto one county server, each
// village then listing on the server exactly what its file lists; a second push adds nothing;
// a township pulled back gives its file's households.
namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(FENLARK_DB_PATH), args);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

struct Region {
    int level;
    const char16_t *levelName;
    const char16_t *name;
    const char16_t *parent;
};

struct Household {
    int year;
    const char16_t *unit;
    const char16_t *parent;
    const char16_t *head;
    const char16_t *card;
    double income;
    int medical; // -1: NULL
};

bool makeTownship(const QString &path, const std::vector<Region> &regions, const std::vector<Household> &households,
                  const std::vector<int> &years)
{
    QString error;
    if (!dbtool::makeEmptyRegister(path, error))
        return false;
    DBConnection file;
    if (!file.connectAccess(path, QString()))
        return false;
    Transaction transaction(file);
    for (const Region &r : regions) {
        Statement insert(file,
                         QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, ?, ?, ?)"));
        insert.bind(1, r.level)
            .bind(2, QString::fromUtf16(r.levelName))
            .bind(3, QString::fromUtf16(r.name))
            .bind(4, QString::fromUtf16(r.parent));
        if (!insert.exec())
            return false;
    }
    for (const Household &h : households) {
        Statement insert(file, QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 上级管辖, 户主, 户主信息, "
                                              "年收入, 是否合作医疗, 家庭人员信息, 录入时间) VALUES (?, ?, ?, ?, ?, ?, "
                                              "?, ?, ?)"));
        const QString head = QString::fromUtf16(h.head);
        insert.bind(1, h.year)
            .bind(2, QString::fromUtf16(h.unit))
            .bind(3, QString::fromUtf16(h.parent))
            .bind(4, head)
            .bind(5, head + QStringLiteral("-男-") + QString::fromUtf16(h.card) + QStringLiteral("-汉-1970-01-01"))
            .bind(6, h.income);
        if (h.medical < 0)
            insert.bindNull(7);
        else
            insert.bind(7, h.medical);
        insert.bind(8, head + QStringLiteral("|户主;") + head + QStringLiteral("妻|配偶"))
            .bind(9, QStringLiteral("2026-03-0%1 08:00:00").arg(h.year % 7 + 1));
        if (!insert.exec())
            return false;
    }
    for (int year : years) {
        Statement insert(file, QStringLiteral("INSERT INTO 年份管理 (年份) VALUES (?)"));
        insert.bind(1, year);
        if (!insert.exec())
            return false;
    }
    return transaction.commit();
}

// A value with its storage class, the same on both engines (SQLite writes a real 3000 as
// "3000.0", the server as "3000").
QString storedValue(const FieldValue &value)
{
    switch (value.type) {
    case FieldValue::Type::Null:
        return QStringLiteral("NULL");
    case FieldValue::Type::Integer:
        return QStringLiteral("i:") + QString::number(value.integer);
    case FieldValue::Type::Real:
        return QStringLiteral("r:") + QString::number(value.real, 'g', 17);
    case FieldValue::Type::Text:
        return QStringLiteral("t:") + value.text();
    case FieldValue::Type::Blob:
        return QStringLiteral("b:") + QString::fromLatin1(value.bytes.toHex());
    }
    return QString();
}

// Every household of the village (unit under parent), each row written out with its values'
// kinds, in the order of entry.
QStringList householdsOf(DBConnection &connection, const QString &unit, const QString &parent)
{
    Statement query(connection, QStringLiteral("SELECT 录入年份, 所属管辖, 上级管辖, 户主, 户主信息, 首拼音, 年收入, "
                                               "是否合作医疗, 是否党员, 家庭人员信息, 录入时间 FROM 成员信息 WHERE "
                                               "所属管辖 = ? AND 上级管辖 = ? ORDER BY rowid"));
    query.bind(1, unit).bind(2, parent);
    QStringList rows;
    while (query.step()) {
        QStringList cells;
        for (int c = 0; c < query.columnCount(); ++c)
            cells << storedValue(query.value(c));
        rows << cells.join(u'|');
    }
    if (query.hasFailed())
        rows << QStringLiteral("<failed: %1>").arg(connection.errorText());
    return rows;
}

QStringList allHouseholds(DBConnection &connection)
{
    QStringList rows;
    for (const auto &[unit, parent] : {std::pair{u"一村", u"南乡"}, std::pair{u"二村", u"南乡"},
                                       std::pair{u"一村", u"西乡"}, std::pair{u"三村", u"西乡"}})
        rows << householdsOf(connection, QString::fromUtf16(unit), QString::fromUtf16(parent));
    return rows;
}

qint64 countOf(DBConnection &connection, const QString &table)
{
    Statement query(connection, QStringLiteral("SELECT count(*) FROM ") + table);
    return query.step() ? query.int64(0) : -1;
}

// Adds households to a township's file, each with its members packed as the household form
// packs them ("name-sex-card-relation-nation-education", comma between members).
bool addPackedHouseholds(const QString &path, const QString &parent,
                         const std::vector<std::tuple<int, QString, QString>> &households)
{
    DBConnection file;
    if (!file.connectAccess(path, QString()))
        return false;
    for (const auto &[year, unit, packed] : households) {
        Statement insert(file, QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 上级管辖, 户主, 户主信息, "
                                              "家庭人员信息) VALUES (?, ?, ?, ?, ?, ?)"));
        const QString head = packed.section(u'-', 0, 0);
        insert.bind(1, year).bind(2, unit).bind(3, parent).bind(4, head);
        insert.bind(5, head + QStringLiteral("-男-") + packed.section(u'-', 2, 2) + QStringLiteral("-初中"));
        insert.bind(6, packed);
        if (!insert.exec())
            return false;
    }
    return true;
}

// The member-card index as "年份|所属管辖|户主|姓名|身份证号", sorted: the same on a file and on the
// server whatever keys the households have there.
QStringList cardIndexOf(DBConnection &connection)
{
    Statement query(connection,
                    QStringLiteral("SELECT m.录入年份, m.所属管辖, h.户主, m.姓名, m.身份证号 FROM 成员身份证 "
                                   "AS m JOIN 成员信息 AS h ON h.rowid = m.户id"));
    QStringList rows;
    while (query.step())
        rows << QStringList{query.text(0), query.text(1), query.text(2), query.text(3), query.text(4)}.join(u'|');
    if (query.hasFailed() || !query.isValid())
        rows << QStringLiteral("<failed: %1>").arg(connection.errorText());
    rows.sort();
    return rows;
}

const std::vector<Region> kSouth = {{1, u"国家", u"中国", u""},       {2, u"省", u"北省", u"中国"},
                                    {3, u"市", u"东市", u"北省"},     {4, u"乡镇", u"南乡", u"东市"},
                                    {5, u"村委会", u"一村", u"南乡"}, {5, u"村委会", u"二村", u"南乡"}};
// The same country, province and city, another township, and a village named as one of 南乡's.
const std::vector<Region> kWest = {{1, u"国家", u"中国", u""},       {2, u"省", u"北省", u"中国"},
                                   {3, u"市", u"东市", u"北省"},     {4, u"乡镇", u"西乡", u"东市"},
                                   {5, u"村委会", u"一村", u"西乡"}, {5, u"村委会", u"三村", u"西乡"}};

// A database of its own on the test cluster holding the register's tables, dropped at the end.
struct CountyDatabase {
    DBConnection cluster;
    QString name;
    QString uri;
    bool ready = false;

    CountyDatabase(const QString &server, const QString &prefix)
    {
        name = prefix + QString::number(QCoreApplication::applicationPid());
        uri = server + QStringLiteral(" dbname=") + name;
        ready = cluster.connectServer(server) && execScript(cluster, QStringLiteral("CREATE DATABASE ") + name);
        if (ready) {
            DBConnection county;
            ready = county.connectServer(uri) && execScript(county, schema::createServerTablesSql());
        }
    }
    ~CountyDatabase()
    {
        execScript(cluster, QStringLiteral("DROP DATABASE IF EXISTS ") + name + QStringLiteral(" WITH (FORCE)"));
    }
};

} // namespace

class CountyTransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusalsWithoutAServer()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.mdb"));
        QVERIFY(makeTownship(file, kSouth, {}, {}));
        const Run push = runTool(
            {QStringLiteral("push"), file, QStringLiteral("host=127.0.0.1 port=1 dbname=county password=secret")});
        QCOMPARE(push.code, 1);
        QVERIFY2(push.err.contains(QStringLiteral("host=127.0.0.1 port=1 dbname=county")), qPrintable(push.err));
        QVERIFY(!push.err.contains(QStringLiteral("secret")));
        QCOMPARE(runTool({QStringLiteral("push"), file}).code, 2);
        QCOMPARE(runTool({QStringLiteral("pull"), QStringLiteral("host=/nowhere"), QStringLiteral("x.mdb"),
                          QStringLiteral("--township")})
                     .code,
                 2);
        // An existing file is never overwritten, before the server is even asked.
        const Run pull = runTool({QStringLiteral("pull"), QStringLiteral("host=/nowhere dbname=x"), file});
        QCOMPARE(pull.code, 1);
        QVERIFY2(pull.err.contains(file), qPrintable(pull.err));
    }

    // The server's member-card index follows a push as it follows a clerk's save: every member
    // of every pushed household is there, a card entered in two townships in one year is found
    // as a duplicate and by the search, and a second push doubles nothing.
    void pushKeepsTheServersCardIndex()
    {
        const QString server = QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"));
        if (qgetenv("FENLARK_TEST_ENGINE") != "postgresql" || server.isEmpty())
            QSKIP("a server register only (FENLARK_TEST_ENGINE=postgresql with FENLARK_TEST_PG)");
        QTemporaryDir dir;
        const QString south = dir.filePath(QStringLiteral("南乡.mdb"));
        const QString west = dir.filePath(QStringLiteral("西乡.mdb"));
        const QString shared = QStringLiteral("11010519491231002X");
        QVERIFY(makeTownship(south, kSouth, {}, {2025}));
        QVERIFY(addPackedHouseholds(
            south, QStringLiteral("南乡"),
            {{2025, QStringLiteral("一村"),
              QStringLiteral("张三-男-110101199003071233-户主-汉族-初中,李四-女-%1-配偶-汉族-").arg(shared)},
             {2025, QStringLiteral("二村"), QStringLiteral("王五-男-440304198501010013-户主-汉族-初中")}}));
        QVERIFY(makeTownship(west, kWest, {}, {2025}));
        QVERIFY(addPackedHouseholds(west, QStringLiteral("西乡"),
                                    {{2025, QStringLiteral("三村"),
                                      QStringLiteral("赵六-男-330102198002290015-户主-汉族-初中,赵小-女-%1-女儿-汉族-")
                                          .arg(shared.toLower())}}));

        const CountyDatabase database(server, QStringLiteral("fenlark_cards_"));
        QVERIFY(database.ready);
        const QString uri = database.uri;
        for (const QString &file : {south, west, south}) {
            const Run push = runTool({QStringLiteral("push"), file, uri});
            QVERIFY2(push.code == 0, qPrintable(push.err));
        }

        DBConnection county;
        QVERIFY(county.connectServer(uri));
        DBConnection southFile;
        DBConnection westFile;
        QVERIFY(southFile.connectAccess(south, QString()));
        QVERIFY(westFile.connectAccess(west, QString()));
        QStringList expected = cardIndexOf(southFile) + cardIndexOf(westFile);
        expected.sort();
        QCOMPARE(expected.size(), 5);
        QCOMPARE(cardIndexOf(county), expected);

        QStringList holders;
        for (const CardHolder &holder : cardHolders(county, shared, 2025, 0))
            holders << holder.memberName + u' ' + describeHousehold(holder);
        QCOMPARE(holders, (QStringList{QStringLiteral("李四 户主 张三, 所属管辖 一村, 年份 2025"),
                                       QStringLiteral("赵小 户主 赵六, 所属管辖 三村, 年份 2025")}));
        const MemberSearchResult byName =
            findHouseholdsByMember(county, {true, QString(), 0, true}, QStringLiteral("赵小"), 10);
        QCOMPARE(byName.households.size(), size_t(1));
        const MemberSearchResult byCard =
            findHouseholdsByMember(county, {true, QString(), 0, true}, QStringLiteral("4403041985"), 10);
        QCOMPARE(byCard.households.size(), size_t(1));
    }

    void pushTwoTownshipsAndPullOneBack()
    {
        const QString server = QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"));
        if (qgetenv("FENLARK_TEST_ENGINE") != "postgresql" || server.isEmpty())
            QSKIP("a server register only (FENLARK_TEST_ENGINE=postgresql with FENLARK_TEST_PG)");
        QTemporaryDir dir;
        const QString south = dir.filePath(QStringLiteral("南乡.mdb"));
        const QString west = dir.filePath(QStringLiteral("西乡.mdb"));
        QVERIFY(makeTownship(south, kSouth,
                             {{2025, u"一村", u"南乡", u"张三", u"110101197001010011", 1200.5, 1},
                              {2025, u"二村", u"南乡", u"李四", u"110101197001010022", 0, -1},
                              {2026, u"一村", u"南乡", u"王五", u"110101197001010033", 3000, 0},
                              // Same head and card, another year: another household.
                              {2026, u"一村", u"南乡", u"张三", u"110101197001010011", 1300, 1}},
                             {2025, 2026}));
        QVERIFY(makeTownship(west, kWest,
                             {// Same head name and year as 南乡's 张三 in a village of the same name,
                              // another card: not the same household.
                              {2025, u"一村", u"西乡", u"张三", u"110101197001010044", 800, 1},
                              {2024, u"三村", u"西乡", u"赵六", u"110101197001010055", 0, 0}},
                             {2024, 2025}));

        const CountyDatabase database(server, QStringLiteral("fenlark_county_"));
        QVERIFY(database.ready);
        const QString uri = database.uri;

        const Run first = runTool({QStringLiteral("push"), south, uri});
        QVERIFY2(first.code == 0, qPrintable(first.err));
        QVERIFY2(first.out.contains(QStringLiteral("units: 6 added, 0 already there")), qPrintable(first.out));
        QVERIFY(first.out.contains(QStringLiteral("households: 4 added")));
        QVERIFY(first.out.contains(QStringLiteral("years: 2 added")));
        const Run second = runTool({QStringLiteral("push"), west, uri});
        QVERIFY2(second.code == 0, qPrintable(second.err));
        // 中国, 北省 and 东市 matched by their path; 西乡 and both its villages made (一村 too).
        QVERIFY2(second.out.contains(QStringLiteral("units: 3 added, 3 already there")), qPrintable(second.out));
        QVERIFY(second.out.contains(QStringLiteral("households: 2 added")));
        QVERIFY(second.out.contains(QStringLiteral("years: 1 added")));

        DBConnection county;
        QVERIFY(county.connectServer(uri));
        DBConnection southFile;
        DBConnection westFile;
        QVERIFY(southFile.connectAccess(south, QString()));
        QVERIFY(westFile.connectAccess(west, QString()));
        for (const auto &[file, unit, parent] :
             {std::tuple{&southFile, u"一村", u"南乡"}, std::tuple{&southFile, u"二村", u"南乡"},
              std::tuple{&westFile, u"一村", u"西乡"}, std::tuple{&westFile, u"三村", u"西乡"}}) {
            const QStringList expected = householdsOf(*file, QString::fromUtf16(unit), QString::fromUtf16(parent));
            QVERIFY(!expected.isEmpty());
            QCOMPARE(householdsOf(county, QString::fromUtf16(unit), QString::fromUtf16(parent)), expected);
        }
        QCOMPARE(countOf(county, QStringLiteral("成员信息")), qint64(6));
        QCOMPARE(countOf(county, QStringLiteral("区域管理")), qint64(9));
        QCOMPARE(countOf(county, QStringLiteral("年份管理")), qint64(3));

        // The same register again: everything is there already, and said so.
        const Run again = runTool({QStringLiteral("push"), south, uri});
        QVERIFY2(again.code == 0, qPrintable(again.err));
        QVERIFY2(again.out.contains(QStringLiteral("units: 0 added, 6 already there")), qPrintable(again.out));
        QVERIFY(again.out.contains(QStringLiteral("households: 0 added")));
        QVERIFY(again.out.contains(QStringLiteral("years: 0 added")));
        QVERIFY(again.out.contains(QStringLiteral("4 households are on the server already")));
        QVERIFY(again.out.contains(QStringLiteral("2026 一村 王五 110101197001010033")));
        QCOMPARE(countOf(county, QStringLiteral("成员信息")), qint64(6));
        QCOMPARE(countOf(county, QStringLiteral("区域管理")), qint64(9));
        QCOMPARE(countOf(county, QStringLiteral("年份管理")), qint64(3));

        // One township back into a file: its households, as its own register has them.
        const QString pulled = dir.filePath(QStringLiteral("pulled.mdb"));
        const Run pull =
            runTool({QStringLiteral("pull"), uri, pulled, QStringLiteral("--township"), QStringLiteral("南乡")});
        QVERIFY2(pull.code == 0, qPrintable(pull.err));
        QVERIFY2(pull.out.contains(QStringLiteral("6 units, 4 households, 3 years")), qPrintable(pull.out));
        DBConnection pulledFile;
        QVERIFY(pulledFile.connectAccess(pulled, QString()));
        QCOMPARE(allHouseholds(pulledFile), allHouseholds(southFile));
        QCOMPARE(countOf(pulledFile, QStringLiteral("成员信息")), qint64(4));

        // The whole county, and a township the server does not have.
        const QString whole = dir.filePath(QStringLiteral("county.mdb"));
        QCOMPARE(runTool({QStringLiteral("pull"), uri, whole}).code, 0);
        DBConnection wholeFile;
        QVERIFY(wholeFile.connectAccess(whole, QString()));
        QCOMPARE(allHouseholds(wholeFile), allHouseholds(county));
        QCOMPARE(countOf(wholeFile, QStringLiteral("区域管理")), qint64(9));
        const QString none = dir.filePath(QStringLiteral("none.mdb"));
        const Run missing =
            runTool({QStringLiteral("pull"), uri, none, QStringLiteral("--township"), QStringLiteral("北乡")});
        QCOMPARE(missing.code, 1);
        QVERIFY2(missing.err.contains(QStringLiteral("北乡")), qPrintable(missing.err));
        QVERIFY(!QFile::exists(none));
    }
};

QTEST_GUILESS_MAIN(CountyTransferTest)
#include "county_transfer_test.moc"
