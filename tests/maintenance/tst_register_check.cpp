// The check a clerk can act on: each planted problem is found, a clean register gives nothing.
#include "maintenance_fixture.h"

#include "maintenance/register_check.h"

#include <QTest>

using namespace fenlark;
using namespace fenlark::maintenance;

Q_DECLARE_METATYPE(fenlark::maintenance::Finding::Kind)

namespace {

QString listed(const CheckReport &report)
{
    QStringList lines;
    for (const Finding &finding : report.findings)
        lines << QString::number(finding.kind) + u' ' + finding.text;
    return lines.join(u'\n');
}

} // namespace

class RegisterCheckTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanDemoHasNoFindings();
    void plantedProblemIsFound_data();
    void plantedProblemIsFound();
    void damagedPageIsFound();
    void unreadableFiles_data();
    void unreadableFiles();
    void manyOfOneKindAreSummedUp();
};

void RegisterCheckTest::cleanDemoHasNoFindings()
{
    DemoRegister reg(500);
    QVERIFY2(!reg.path.isEmpty(), qPrintable(reg.error));
    QList<int> steps;
    const CheckReport report = checkRegister(reg.path, [&](int percent) { steps << percent; });
    QVERIFY(report.readable);
    QVERIFY2(report.findings.isEmpty(), qPrintable(listed(report)));
    QCOMPARE(steps.first(), 0);
    QCOMPARE(steps.last(), 100);
    QVERIFY(std::is_sorted(steps.begin(), steps.end()));
}

void RegisterCheckTest::plantedProblemIsFound_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<Finding::Kind>("kind");
    QTest::addColumn<QString>("named"); // a piece of the finding's text the clerk acts on

    QTest::newRow("household unit not a village")
        << "UPDATE 成员信息 SET 所属管辖 = '无此村' WHERE id = 1" << Finding::HouseholdUnit << "无此村";
    QTest::newRow("household parent unit wrong")
        << "UPDATE 成员信息 SET 上级管辖 = '别的乡' WHERE id = 2" << Finding::HouseholdParent << "别的乡";
    QTest::newRow("unit whose parent is missing")
        << "INSERT INTO 区域管理 VALUES (5, '村委会', '孤村', '无此乡')" << Finding::UnitHidden << "孤村";
    QTest::newRow("unit below a hidden unit") << "INSERT INTO 区域管理 VALUES (4, '乡镇', '孤乡', '无此市'); "
                                                 "INSERT INTO 区域管理 VALUES (5, '村委会', '孤乡下村', '孤乡')"
                                              << Finding::UnitHidden << "孤乡下村";
    QTest::newRow("unit name repeated under one parent")
        << "INSERT INTO 区域管理 SELECT * FROM 区域管理 WHERE 标识 = 5 LIMIT 1" << Finding::UnitRepeated << "村委会";
    QTest::newRow("unit name with a line break") << "INSERT INTO 区域管理 SELECT 4, '乡镇', '新' || char(10) || '乡', "
                                                    "单位名称 FROM 区域管理 WHERE 标识 = 3 LIMIT 1"
                                                 << Finding::UnitNameBad << "换行";
    QTest::newRow("unit name of blanks only")
        << "INSERT INTO 区域管理 SELECT 4, '乡镇', ' 　 ', 单位名称 FROM 区域管理 WHERE 标识 = 3 LIMIT 1"
        << Finding::UnitNameBad << "空格";
    QTest::newRow("unit level unknown") << "UPDATE 区域管理 SET 标识 = 7 WHERE 标识 = 1" << Finding::UnitLevelBad
                                        << "标识 7";
    QTest::newRow("text in a yes/no column")
        << "UPDATE 成员信息 SET 是否党员 = '是' WHERE id = 3" << Finding::ValueKind << "是否党员";
    QTest::newRow("text in a number column")
        << "UPDATE 成员信息 SET 年收入 = '很多' WHERE id = 3" << Finding::ValueKind << "很多";
    QTest::newRow("text in a year") << "UPDATE 年份管理 SET 年份 = '二〇二〇' WHERE rowid = 1" << Finding::ValueKind
                                    << "年份管理";
    QTest::newRow("blob") << "UPDATE 成员信息 SET 标签 = x'0001' WHERE id = 4" << Finding::Blob << "标签";
    QTest::newRow("text not utf-8") << "UPDATE 成员信息 SET 家庭住址 = CAST(x'c328' AS TEXT) WHERE id = 5"
                                    << Finding::BadUtf8 << "家庭住址";
    QTest::newRow("empty head") << "UPDATE 成员信息 SET 户主 = '' WHERE id = 6" << Finding::EmptyHead << "id=6";
    QTest::newRow("null head") << "UPDATE 成员信息 SET 户主 = NULL WHERE id = 7" << Finding::EmptyHead << "id=7";
    QTest::newRow("missing column") << "ALTER TABLE 年份管理 RENAME COLUMN 年份 TO 年" << Finding::Schema
                                    << "年份管理 缺少列 年份";
    QTest::newRow("missing table") << "DROP TABLE 年份管理" << Finding::Schema << "缺少表 年份管理";
    QTest::newRow("column of another kind")
        << "DROP TABLE 年份管理; CREATE TABLE 年份管理 (年份 TEXT)" << Finding::Schema << "类型为 TEXT";
}

void RegisterCheckTest::plantedProblemIsFound()
{
    QFETCH(QString, sql);
    QFETCH(Finding::Kind, kind);
    QFETCH(QString, named);
    DemoRegister reg;
    QVERIFY2(reg.exec(sql), qPrintable(sql));
    const CheckReport report = checkRegister(reg.path);
    QVERIFY(report.readable);
    QVERIFY2(!report.findings.isEmpty(), "nothing found");
    // That problem, and nothing else is blamed for it.
    for (const Finding &finding : report.findings)
        QVERIFY2(finding.kind == kind, qPrintable(listed(report)));
    QVERIFY2(std::any_of(report.findings.begin(), report.findings.end(),
                         [&](const Finding &finding) { return finding.text.contains(named); }),
             qPrintable(listed(report)));
}

void RegisterCheckTest::damagedPageIsFound()
{
    DemoRegister reg(600);
    QVERIFY(damageMiddlePage(reg.path));
    const CheckReport report = checkRegister(reg.path);
    QVERIFY(report.readable);
    QVERIFY2(!report.findings.isEmpty() && report.findings.first().kind == Finding::Damaged,
             qPrintable(listed(report)));
}

void RegisterCheckTest::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a database") << QByteArray(8192, 'x');
}

void RegisterCheckTest::unreadableFiles()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("data.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const CheckReport report = checkRegister(file.fileName());
    QVERIFY(!report.readable);
    QVERIFY(!report.reason.isEmpty());
    QVERIFY(!report.clean());
}

void RegisterCheckTest::manyOfOneKindAreSummedUp()
{
    DemoRegister reg(kFindingsPerKind + 50);
    QVERIFY(reg.exec(QStringLiteral("UPDATE 成员信息 SET 户主 = ''")));
    const CheckReport report = checkRegister(reg.path);
    QCOMPARE(report.findings.size(), kFindingsPerKind + 1);
    QCOMPARE(report.problemCount, kFindingsPerKind + 50);
    QCOMPARE(report.findings.last().kind, Finding::More);
    QVERIFY2(report.findings.last().text.contains(QStringLiteral("另有 50 条")),
             qPrintable(report.findings.last().text));
}

QTEST_GUILESS_MAIN(RegisterCheckTest)
#include "tst_register_check.moc"
