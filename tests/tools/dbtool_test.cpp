#include "fenlark-db/demo_plan.h"
#include "fenlark-db/demo_random.h"
#include "fenlark-db/register_maker.h"

#include "core/pinyin.h"
#include "core/text.h"
#include "data/db_connection.h"
#include "data/demo_mark.h"
#include "data/statement.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace fenlark;
using namespace fenlark::dbtool;

namespace {

struct RunResult {
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult runTool(const QStringList &args,
                  const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                  const QString &program = QStringLiteral(FENLARK_DB_PATH))
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, args);
    RunResult result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// Every row of a query as one text per row, columns joined by a separator no value holds.
QStringList rowsOf(DBConnection &db, const QString &sql)
{
    Statement query(db, sql);
    QStringList rows;
    while (query.step()) {
        QStringList cells;
        for (int c = 0; c < query.columnCount(); ++c)
            cells << (query.isNull(c) ? QStringLiteral("<null>") : query.text(c));
        rows << cells.join(QChar(0x1F));
    }
    return rows;
}

qint64 countOf(DBConnection &db, const QString &sql)
{
    Statement query(db, sql);
    return query.step() ? query.int64(0) : -1;
}

QByteArray contentHash(const QString &path)
{
    DBConnection db;
    if (!db.connectAccess(path, QString()))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &table : {QStringLiteral("区域管理"), QStringLiteral("年份管理"), QStringLiteral("成员信息")}) {
        for (const QString &row : rowsOf(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)))
            hash.addData(QByteArray(row.toUtf8() + '\n'));
    }
    return hash.result();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DbToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void initMakesTheEmptyTables();
    void makersRefuseAnExistingFile_data();
    void makersRefuseAnExistingFile();
    void unwritablePathLeavesNoFile_data();
    void unwritablePathLeavesNoFile();
    void badArguments_data();
    void badArguments();
    void demoCommandCountsHouseholds_data();
    void demoCommandCountsHouseholds();
    void demoIsDeterministic();
    void demoRegionsFollowTheLevels();
    void demoHouseholdsAreConsistent();
    void demoYearsListedOnce();
    void demoIfMissingLeavesAnExistingFile();
    void hierarchyGrowsWithTheHouseholds_data();
    void hierarchyGrowsWithTheHouseholds();
    void onlyTheDemoIsMarked();
    void initWithoutFileMakesTheRegisterBesideTheProgram();
    void speaksTheLocalesLanguage_data();
    void speaksTheLocalesLanguage();
    void printsItsVersion();
    void serverInitNamesAnUnreachableServer();

private:
    QTemporaryDir m_dir;
    QString m_demo; // made once, 600 households, read by the content tests
    DBConnection m_db;
};

void DbToolTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_demo = m_dir.filePath(QStringLiteral("demo.mdb"));
    QString error;
    QVERIFY2(makeDemoRegister(m_demo, 600, error), qPrintable(error));
    QVERIFY(m_db.connectAccess(m_demo, QString()));
}

void DbToolTest::initMakesTheEmptyTables()
{
    const QString path = m_dir.filePath(QStringLiteral("empty.mdb"));
    const RunResult run = runTool({QStringLiteral("init"), path});
    QCOMPARE(run.exitCode, 0);

    DBConnection db;
    QVERIFY(db.connectAccess(path, QString()));
    const QStringList tables = rowsOf(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' "
                                                         "AND name NOT LIKE 'sqlite_%' ORDER BY name"));
    QCOMPARE(QSet<QString>(tables.begin(), tables.end()),
             (QSet<QString>{QStringLiteral("成员信息"), QStringLiteral("区域管理"), QStringLiteral("年份管理"),
                            // the member-card index and the full-text index of the members' names
                            QStringLiteral("成员身份证"), QStringLiteral("成员姓名检索"),
                            QStringLiteral("成员姓名检索_config"), QStringLiteral("成员姓名检索_data"),
                            QStringLiteral("成员姓名检索_idx"),
                            // the keyword catalogue
                            QStringLiteral("标签汇总")}));
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM pragma_table_info('成员信息')")), 31);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM pragma_table_info('区域管理')")), 4);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM \"成员信息\"")), 0);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM \"区域管理\"")), 0);
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM \"年份管理\"")), 0);
    // Eleven for the list, the search, the lookups and the cards, two for the statistics; eight
    // for the query window's criteria; two of the keyword catalogue.
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' AND sql IS NOT NULL")),
             22);
}

void DbToolTest::makersRefuseAnExistingFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("init") << QStringLiteral("init");
    QTest::newRow("demo") << QStringLiteral("demo");
}

void DbToolTest::makersRefuseAnExistingFile()
{
    QFETCH(QString, command);
    const QString path = m_dir.filePath(command + QStringLiteral("-existing.mdb"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("someone's register");
    }
    const RunResult run = runTool({command, path});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains(path));
    QCOMPARE(fileBytes(path), QByteArray("someone's register"));
}

void DbToolTest::unwritablePathLeavesNoFile_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("path");

    const QString noDir = m_dir.filePath(QStringLiteral("no-such-folder/x.mdb"));
    const QString underFile = m_dir.filePath(QStringLiteral("plain-file/x.mdb"));
    QTest::newRow("init, missing folder") << QStringList{QStringLiteral("init"), noDir} << noDir;
    QTest::newRow("demo, missing folder") << QStringList{QStringLiteral("demo"), noDir} << noDir;
    QTest::newRow("demo, folder is a file") << QStringList{QStringLiteral("demo"), underFile} << underFile;
    QTest::newRow("demo-if-missing, missing folder") << QStringList{QStringLiteral("demo-if-missing"), noDir} << noDir;
}

void DbToolTest::unwritablePathLeavesNoFile()
{
    QFETCH(QStringList, args);
    QFETCH(QString, path);
    QFile plain(m_dir.filePath(QStringLiteral("plain-file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    const RunResult run = runTool(args);
    QVERIFY(run.exitCode != 0);
    QVERIFY(!run.err.trimmed().isEmpty());
    QVERIFY(!QFileInfo::exists(path));
}

void DbToolTest::badArguments_data()
{
    QTest::addColumn<QStringList>("args");

    const QString f = m_dir.filePath(QStringLiteral("bad-args.mdb"));
    const QString n = QStringLiteral("--households");
    QTest::newRow("no command") << QStringList{};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("make"), f};
    QTest::newRow("init with an option") << QStringList{QStringLiteral("init"), QStringLiteral("--fast")};
    QTest::newRow("init with two files") << QStringList{QStringLiteral("init"), f, f};
    QTest::newRow("demo without file") << QStringList{QStringLiteral("demo")};
    QTest::newRow("demo with count only") << QStringList{QStringLiteral("demo"), n, QStringLiteral("5")};
    QTest::newRow("count missing") << QStringList{QStringLiteral("demo"), f, n};
    QTest::newRow("count zero") << QStringList{QStringLiteral("demo"), f, n, QStringLiteral("0")};
    QTest::newRow("count negative") << QStringList{QStringLiteral("demo"), f, n, QStringLiteral("-5")};
    QTest::newRow("count fraction") << QStringList{QStringLiteral("demo"), f, n, QStringLiteral("1.5")};
    QTest::newRow("count text") << QStringList{QStringLiteral("demo"), f, n, QStringLiteral("many")};
    QTest::newRow("count empty after =") << QStringList{QStringLiteral("demo"), f, n + QStringLiteral("=")};
    QTest::newRow("count too large") << QStringList{QStringLiteral("demo"), f, n, QStringLiteral("99999999999")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("demo"), f, QStringLiteral("--fast")};
    QTest::newRow("two files") << QStringList{QStringLiteral("demo"), f, f};
    QTest::newRow("demo-if-missing without file") << QStringList{QStringLiteral("demo-if-missing")};
    QTest::newRow("server-init without server") << QStringList{QStringLiteral("server-init")};
    QTest::newRow("server-init with two servers")
        << QStringList{QStringLiteral("server-init"), QStringLiteral("host=a"), QStringLiteral("host=b")};
}

void DbToolTest::badArguments()
{
    QFETCH(QStringList, args);
    const RunResult run = runTool(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains(QStringLiteral("usage")));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("bad-args.mdb"))));
}

void DbToolTest::demoCommandCountsHouseholds_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("households");

    QTest::newRow("default") << QStringList{} << kDefaultDemoHouseholds;
    QTest::newRow("separate count") << QStringList{QStringLiteral("--households"), QStringLiteral("7")} << 7;
    QTest::newRow("joined count") << QStringList{QStringLiteral("--households=1")} << 1;
}

void DbToolTest::demoCommandCountsHouseholds()
{
    QFETCH(QStringList, options);
    QFETCH(int, households);
    const QString path = m_dir.filePath(QStringLiteral("count-%1.mdb").arg(households));
    const RunResult run = runTool(QStringList{QStringLiteral("demo"), path} + options);
    QCOMPARE(run.exitCode, 0);
    DBConnection db;
    QVERIFY(db.connectAccess(path, QString()));
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM \"成员信息\"")), households);
}

void DbToolTest::demoIsDeterministic()
{
    const QString again = m_dir.filePath(QStringLiteral("demo-again.mdb"));
    const QString other = m_dir.filePath(QStringLiteral("demo-other.mdb"));
    QString error;
    QVERIFY2(makeDemoRegister(again, 600, error), qPrintable(error));
    QVERIFY2(makeDemoRegister(other, 601, error), qPrintable(error));
    const QByteArray first = contentHash(m_demo);
    QVERIFY(!first.isEmpty());
    QCOMPARE(contentHash(again), first);
    QVERIFY(contentHash(other) != first);
}

void DbToolTest::demoRegionsFollowTheLevels()
{
    // One country without a parent; every other unit names an existing unit one level up.
    QCOMPARE(rowsOf(m_db, QStringLiteral("SELECT \"单位名称\", \"直属管辖\" FROM \"区域管理\" WHERE \"标识\" = 1")),
             QStringList{QStringLiteral("中国") + QChar(0x1F)});
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"区域管理\" WHERE \"标识\" = 2")), 1);
    QVERIFY(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"区域管理\" WHERE \"标识\" = 3")) >= 2);
    QVERIFY(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"区域管理\" WHERE \"标识\" = 4")) >= 3);
    QVERIFY(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"区域管理\" WHERE \"标识\" = 5")) >= 20);
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"区域管理\" u WHERE \"标识\" > 1 AND NOT EXISTS "
                                          "(SELECT 1 FROM \"区域管理\" p WHERE p.\"单位名称\" = u.\"直属管辖\" "
                                          "AND p.\"标识\" = u.\"标识\" - 1)")),
             0);
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(*) - count(DISTINCT \"单位名称\") FROM \"区域管理\"")), 0);
    const QStringList levelNames =
        rowsOf(m_db, QStringLiteral("SELECT DISTINCT \"标识\" || ' ' || \"区域\" FROM \"区域管理\" ORDER BY \"标识\""));
    QCOMPARE(levelNames, (QStringList{QStringLiteral("1 国家"), QStringLiteral("2 省"), QStringLiteral("3 市"),
                                      QStringLiteral("4 乡镇"), QStringLiteral("5 村委会")}));
}

void DbToolTest::demoHouseholdsAreConsistent()
{
    // Unit and superior unit: a village committee and its township.
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"成员信息\" h WHERE NOT EXISTS "
                                          "(SELECT 1 FROM \"区域管理\" u WHERE u.\"标识\" = 5 "
                                          "AND u.\"单位名称\" = h.\"所属管辖\" AND u.\"直属管辖\" = h.\"上级管辖\")")),
             0);

    const QSet<QString> categories{QStringLiteral("扶贫户"), QStringLiteral("低保户"), QStringLiteral("三无"),
                                   QStringLiteral("非贫困人口")};
    QSet<QString> seenCategories;
    int outsideGb2312 = 0;
    Statement rows(m_db, QStringLiteral("SELECT \"户主\", \"户主信息\", \"首拼音\", \"家庭人员信息\", \"农户属性\", "
                                        "\"是否党员\", \"入党时间\", \"党内职务\", \"录入年份\", \"录入时间\" "
                                        "FROM \"成员信息\""));
    while (rows.step()) {
        const QString head = rows.text(0);
        const QString context = head + QStringLiteral(" / ") + rows.text(1);
        const QStringList info = splitFields(rows.text(1), u'-');
        QVERIFY2(info.size() == 4, qPrintable(context));
        QCOMPARE(info.at(0), head);
        QCOMPARE(info.at(2).size(), 18);
        QCOMPARE(gbkByteLength(info.at(2)), 18);
        QCOMPARE(rows.text(2), pinyinInitials(head));
        if (gbkByteLength(head) != head.size() * 2 || head.contains(QStringLiteral("喆")))
            ++outsideGb2312;

        // Up to seven members of six parts; exactly one head, packed like the head record.
        const QStringList members = splitFields(rows.text(3), u',');
        QVERIFY2(members.size() >= 1 && members.size() <= 7, qPrintable(context));
        int heads = 0;
        for (const QString &member : members) {
            const QStringList parts = splitFields(member, u'-');
            QVERIFY2(parts.size() == 6, qPrintable(member));
            QCOMPARE(gbkByteLength(parts.at(2)), 18);
            if (parts.at(3) == QStringLiteral("户主")) {
                ++heads;
                QCOMPARE(QStringList({parts.at(0), parts.at(1), parts.at(2), parts.at(5)}), info);
            }
        }
        QCOMPARE(heads, 1);

        QVERIFY(categories.contains(rows.text(4)));
        seenCategories.insert(rows.text(4));
        const bool party = rows.int64(5) != 0;
        QCOMPARE(!rows.isNull(6), party);
        QCOMPARE(!rows.isNull(7), party);
        if (party)
            QVERIFY(!rows.text(7).isEmpty());
        QCOMPARE(rows.text(9).left(4), QString::number(rows.int64(8)));
    }
    QVERIFY(!rows.hasFailed());
    QCOMPARE(seenCategories, categories);
    QVERIFY(outsideGb2312 > 0);
}

void DbToolTest::demoYearsListedOnce()
{
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(*) - count(DISTINCT \"年份\") FROM \"年份管理\"")), 0);
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(DISTINCT \"录入年份\") FROM \"成员信息\" WHERE \"录入年份\" "
                                          "NOT IN (SELECT \"年份\" FROM \"年份管理\")")),
             0);
    QCOMPARE(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"年份管理\" WHERE \"年份\" NOT IN "
                                          "(SELECT \"录入年份\" FROM \"成员信息\")")),
             0);
    QVERIFY(countOf(m_db, QStringLiteral("SELECT count(*) FROM \"年份管理\"")) >= 5);
}

void DbToolTest::demoIfMissingLeavesAnExistingFile()
{
    const QString path = m_dir.filePath(QStringLiteral("beside-the-program.mdb"));
    RunResult run = runTool({QStringLiteral("demo-if-missing"), path});
    QCOMPARE(run.exitCode, 0);
    QByteArray made = fileBytes(path);
    QVERIFY(!made.isEmpty());
    {
        DBConnection db;
        QVERIFY(db.connectAccess(path, QString()));
        QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM \"成员信息\"")), kDefaultDemoHouseholds);
    }
    made = fileBytes(path); // opening may have added nothing, but compare what is there now

    run = runTool({QStringLiteral("demo-if-missing"), path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, QString());
    QCOMPARE(fileBytes(path), made);
}

void DbToolTest::hierarchyGrowsWithTheHouseholds_data()
{
    QTest::addColumn<int>("households");
    QTest::addColumn<int>("villages");
    QTest::newRow("small") << 1 << 20;
    QTest::newRow("default") << 300 << 20;
    QTest::newRow("large") << 100000 << 334;
    QTest::newRow("a million") << 1000000 << 3334;
}

void DbToolTest::hierarchyGrowsWithTheHouseholds()
{
    QFETCH(int, households);
    QFETCH(int, villages);
    DemoRandom random(1);
    const DemoRegions regions = planDemoRegions(households, random);
    QCOMPARE(int(regions.villages.size()), villages);

    QHash<int, int> perLevel;
    QSet<QString> names;
    QHash<QString, int> levelOf;
    for (const DemoUnit &unit : regions.units) {
        ++perLevel[unit.level];
        names.insert(unit.name);
        levelOf.insert(unit.name, unit.level);
        if (unit.level > 1)
            QCOMPARE(levelOf.value(unit.parent), unit.level - 1); // parents come first
    }
    QCOMPARE(names.size(), int(regions.units.size()));
    QCOMPARE(perLevel.value(5), villages);
    QVERIFY(perLevel.value(3) >= 2);
    // A township holds at most a dozen or so villages, a city a dozen or so townships.
    QVERIFY(perLevel.value(4) * 13 >= villages);
    QVERIFY(perLevel.value(3) * 11 >= perLevel.value(4));
    for (const DemoVillage &village : regions.villages) {
        QCOMPARE(village.areaCode.size(), 6);
        QCOMPARE(levelOf.value(village.township), 4);
    }
}

void DbToolTest::onlyTheDemoIsMarked()
{
    const QString empty = m_dir.filePath(QStringLiteral("unmarked.mdb"));
    QCOMPARE(runTool({QStringLiteral("init"), empty}).exitCode, 0);
    DBConnection emptyDb;
    QVERIFY(emptyDb.connectAccess(empty, QString()));
    QVERIFY(!isDemoRegister(emptyDb));
    QVERIFY(isDemoRegister(m_db));
}

void DbToolTest::initWithoutFileMakesTheRegisterBesideTheProgram()
{
    // A copy of the tool in a folder of its own: a portable layout with no register yet.
    QTemporaryDir folder;
    const QString tool = folder.filePath(QStringLiteral("fenlark-db"));
    QVERIFY(QFile::copy(QStringLiteral(FENLARK_DB_PATH), tool));
    QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString made = folder.filePath(QStringLiteral("data.mdb"));

    const RunResult first = runTool({QStringLiteral("init")}, QProcessEnvironment::systemEnvironment(), tool);
    QCOMPARE(first.exitCode, 0);
    QVERIFY2(first.out.contains(made), qPrintable(first.out));
    DBConnection db;
    QVERIFY(db.connectAccess(made, QString()));
    QCOMPARE(countOf(db, QStringLiteral("SELECT count(*) FROM \"区域管理\"")), 0);
    db.close();

    // The second time the register is there: refused, and left as it is.
    const QByteArray before = fileBytes(made);
    const RunResult second = runTool({QStringLiteral("init")}, QProcessEnvironment::systemEnvironment(), tool);
    QCOMPARE(second.exitCode, 1);
    QVERIFY2(second.err.contains(made), qPrintable(second.err));
    QCOMPARE(fileBytes(made), before);
}

void DbToolTest::speaksTheLocalesLanguage_data()
{
    // LC_ALL, LC_MESSAGES, LANG (empty: unset), and whether the words are Chinese.
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("chinese");
    QTest::newRow("LANG Chinese") << QString() << QString() << QStringLiteral("zh_CN.UTF-8") << true;
    QTest::newRow("LC_ALL Chinese") << QStringLiteral("zh_CN.UTF-8") << QString() << QStringLiteral("C") << true;
    QTest::newRow("LC_ALL overrides LANG")
        << QStringLiteral("C.UTF-8") << QString() << QStringLiteral("zh_CN.UTF-8") << false;
    QTest::newRow("LC_MESSAGES Chinese") << QString() << QStringLiteral("zh_CN.UTF-8") << QStringLiteral("en_US.UTF-8")
                                         << true;
    QTest::newRow("English") << QString() << QString() << QStringLiteral("en_GB.UTF-8") << false;
}

void DbToolTest::speaksTheLocalesLanguage()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(bool, chinese);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const std::pair<const char *, QString> settings[] = {
        {"LC_ALL", lcAll}, {"LC_MESSAGES", lcMessages}, {"LANG", lang}};
    for (const auto &[name, value] : settings) {
        if (value.isEmpty())
            environment.remove(QString::fromLatin1(name));
        else
            environment.insert(QString::fromLatin1(name), value);
    }
    const RunResult usage = runTool({}, environment);
    QCOMPARE(usage.exitCode, 2);
    QCOMPARE(usage.err.startsWith(QStringLiteral("用法：")), chinese);
    QCOMPARE(usage.err.startsWith(QStringLiteral("usage:")), !chinese);

    const QString path =
        m_dir.filePath(QStringLiteral("made in %1.mdb").arg(QString::fromUtf8(QTest::currentDataTag())));
    const RunResult made = runTool({QStringLiteral("init"), path}, environment);
    QCOMPARE(made.exitCode, 0);
    QCOMPARE(
        made.out,
        (chinese ? QStringLiteral("已新建空数据库 %1\n") : QStringLiteral("made the empty register %1\n")).arg(path));
}

void DbToolTest::printsItsVersion()
{
    const RunResult run = runTool({QStringLiteral("--version")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("fenlark-db " FENLARK_VERSION "\n"));
}

void DbToolTest::serverInitNamesAnUnreachableServer()
{
    // A socket folder where no server listens: libpq's reason, beside the server it tried.
    const QString server = QStringLiteral("host=") + m_dir.path() + QStringLiteral(" port=1 connect_timeout=2");
    const RunResult run = runTool({QStringLiteral("server-init"), server});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(server), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral(".s.PGSQL.1")), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(DbToolTest)
#include "dbtool_test.moc"
