// The statistics page on small registers: counts by unit, level and year, "未归属", the
// charts against the table, the export of the table and the charts' figures, and the print.
#include "statistics_fixture.h"

#include "statistics/household_counts.h"
#include "statistics/region_statistics.h"
#include "statistics/statistics_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFile>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QProcess>
#include <QTest>
#include <QVBoxLayout>

using namespace fenlark;

namespace {

// Province P over city T over the townships W1 and W2; W1 holds V1, V2 and a 同名村, W2 holds
// V3 and another 同名村. The country C stays out of the tree.
bool fillRegister(StatisticsFixture &f)
{
    bool ok = f.addUnit(1, QStringLiteral("C"), QString()) && f.addUnit(2, QStringLiteral("P"), QStringLiteral("C")) &&
              f.addUnit(3, QStringLiteral("T"), QStringLiteral("P")) &&
              f.addUnit(4, QStringLiteral("W1"), QStringLiteral("T")) &&
              f.addUnit(4, QStringLiteral("W2"), QStringLiteral("T")) &&
              f.addUnit(5, QStringLiteral("V1"), QStringLiteral("W1")) &&
              f.addUnit(5, QStringLiteral("V2"), QStringLiteral("W1")) &&
              f.addUnit(5, QStringLiteral("同名村"), QStringLiteral("W1")) &&
              f.addUnit(5, QStringLiteral("V3"), QStringLiteral("W2")) &&
              f.addUnit(5, QStringLiteral("同名村"), QStringLiteral("W2"));
    for (int year : {2019, 2020, 2021})
        ok = ok && f.addYear(year);
    struct Household {
        const char *unit, *parent;
        int year;
        const char *category, *flags;
    };
    // flags: 合作医疗 养老保险 是否残疾 是否党员 是否上访户 是否违法
    const Household households[] = {
        {"V1", "W1", 2020, "扶贫户", "100000"},
        {"V1", "W1", 2020, "低保户", "010100"},
        {"V1", "W1", 2021, "三无", "001000"},
        {"V2", "W1", 2021, "非贫困人口", "000011"},
        {"V2", "W1", 2020, "扶贫户", "NNNNNN"}, // NULL counts as not set
        {"V2", "W1", 2020, "低保户", "200000"}, // any value but 0 is set
        {"V3", "W2", 2020, "低保户", "100000"},
        {"V3", "W2", 2021, "其它", "001000"},         // no category: in the total only
        {"旧村", "W1", 2020, "扶贫户", "110000"},     // its village is gone: W1's 未归属
        {"无名村", "无名镇", 2021, "三无", "000100"}, // nowhere in the tree: 未归属 of all
        {"V1", "<null>", 2020, "扶贫户", "000000"},   // no parent: the first V1
        {"同名村", "W1", 2021, "低保户", "100000"},
        {"同名村", "W2", 2020, "非贫困人口", "010000"},
    };
    for (const Household &h : households) {
        ok = ok && f.addHousehold(QString::fromUtf8(h.unit), QString::fromUtf8(h.parent), h.year,
                                  QString::fromUtf8(h.category), QString::fromUtf8(h.flags));
    }
    return ok;
}

} // namespace

class StatisticsPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headers();
    void counts_data();
    void counts();
    void choosingUnitsShowsWhatAFreshCountShows();
    void chartsFollowTheTable_data();
    void chartsFollowTheTable();
    void pieShowsEveryCategoryAndCountWhole();
    void emptyRegister();
    void refreshKeepsTheChoiceAndSeesNewHouseholds();
    void exportWritesTableAndChartFigures();
    void exportDrawsChartsFromTheTable();
    void exportWithoutSpreadsheetProgramSaysSo();
    void printsTheTable();
};

void StatisticsPageTest::headers()
{
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    StatisticsPage &page = f.makePage();
    QStringList headers;
    for (int c = 0; c < page.table().columnCount(); ++c)
        headers << page.table().cellText(0, c);
    QCOMPARE(headers,
             (QStringList{QStringLiteral("单位"), QStringLiteral("扶贫户"), QStringLiteral("低保户"),
                          QStringLiteral("三无"), QStringLiteral("非贫困人口"), QStringLiteral("总户数"),
                          QStringLiteral("合作医疗"), QStringLiteral("养老保险"), QStringLiteral("是否残疾"),
                          QStringLiteral("是否党员"), QStringLiteral("是否上访户"), QStringLiteral("是否违法")}));
    // The tree holds the whole register over the region tree; years and "全部" follow the year list.
    QCOMPARE(page.unitTree().itemText(0), kAllUnitsItem);
    QCOMPARE(page.yearList().itemText(page.yearList().itemCount() - 1), QStringLiteral("全部"));
}

void StatisticsPageTest::counts_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("rows"); // name, then 扶贫 低保 三无 非贫 总 医疗 养老 残疾 党员 上访 违法

    QTest::newRow("whole register, every year")
        << kAllUnitsItem << QStringLiteral("全部")
        << QStringList{QStringLiteral("P 4 4 1 2 12 5 3 2 1 1 1"), QStringLiteral("未归属 0 0 1 0 1 0 0 0 1 0 0"),
                       QStringLiteral("合计 4 4 2 2 13 5 3 2 2 1 1")};
    QTest::newRow("province: its city") << QStringLiteral("P") << QStringLiteral("全部")
                                        << QStringList{QStringLiteral("T 4 4 1 2 12 5 3 2 1 1 1"),
                                                       QStringLiteral("合计 4 4 1 2 12 5 3 2 1 1 1")};
    QTest::newRow("city, one year: townships summed from their villages")
        << QStringLiteral("T") << QStringLiteral("2020")
        << QStringList{QStringLiteral("W1 4 2 0 0 6 3 2 0 1 0 0"), QStringLiteral("W2 0 1 0 1 2 1 1 0 0 0 0"),
                       QStringLiteral("合计 4 3 0 1 8 4 3 0 1 0 0")};
    QTest::newRow("township: villages, same-named village by its parent, 未归属")
        << QStringLiteral("W1") << QStringLiteral("全部")
        << QStringList{QStringLiteral("V1 2 1 1 0 4 1 1 1 1 0 0"), QStringLiteral("V2 1 1 0 1 3 1 0 0 0 1 1"),
                       QStringLiteral("同名村 0 1 0 0 1 1 0 0 0 0 0"), QStringLiteral("未归属 1 0 0 0 1 1 1 0 0 0 0"),
                       QStringLiteral("合计 4 3 1 1 9 4 2 1 1 1 1")};
    QTest::newRow("township, one year: an odd category in the total only, an empty village listed")
        << QStringLiteral("W2") << QStringLiteral("2021")
        << QStringList{QStringLiteral("V3 0 0 0 0 1 0 0 1 0 0 0"), QStringLiteral("同名村 0 0 0 0 0 0 0 0 0 0 0"),
                       QStringLiteral("合计 0 0 0 0 1 0 0 1 0 0 0")};
    QTest::newRow("village: itself") << QStringLiteral("V1") << QStringLiteral("全部")
                                     << QStringList{QStringLiteral("V1 2 1 1 0 4 1 1 1 1 0 0"),
                                                    QStringLiteral("合计 2 1 1 0 4 1 1 1 1 0 0")};
    QTest::newRow("a year without households")
        << kAllUnitsItem << QStringLiteral("2019")
        << QStringList{QStringLiteral("P 0 0 0 0 0 0 0 0 0 0 0"), QStringLiteral("合计 0 0 0 0 0 0 0 0 0 0 0")};
}

void StatisticsPageTest::counts()
{
    QFETCH(QString, unit);
    QFETCH(QString, year);
    QFETCH(QStringList, rows);
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    f.makePage();
    QVERIFY(f.choose(unit, year));
    QCOMPARE(f.tableLines(), rows);
}

// A unit chosen in the tree is shown from the year's last count; every unit's table must be the
// one a count of its own would give.
void StatisticsPageTest::choosingUnitsShowsWhatAFreshCountShows()
{
    StatisticsFixture f;
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    for (const QString &year : {QStringLiteral("2020"), QStringLiteral("全部")}) {
        QVERIFY(f.choose(kAllUnitsItem, year));
        for (int i = 0; i < page.unitTree().itemCount(); ++i) {
            page.unitTree().select(i);
            const QStringList chosen = f.tableLines();
            page.recount();
            QCOMPARE(chosen, f.tableLines());
        }
    }
}

void StatisticsPageTest::chartsFollowTheTable_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("year");
    QTest::newRow("whole register") << kAllUnitsItem << QStringLiteral("全部");
    QTest::newRow("township") << QStringLiteral("W1") << QStringLiteral("全部");
    QTest::newRow("city in 2020") << QStringLiteral("T") << QStringLiteral("2020");
}

void StatisticsPageTest::chartsFollowTheTable()
{
    QFETCH(QString, unit);
    QFETCH(QString, year);
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    QVERIFY(f.choose(unit, year));
    const EGrid &grid = page.table();
    const int dataRows = grid.rowCount() - 2; // without the header and the total

    const auto barSeries = page.barChart().series();
    QCOMPARE(barSeries.size(), 1);
    auto *bars = qobject_cast<QBarSeries *>(barSeries.first());
    QVERIFY(bars);
    QCOMPARE(bars->count(), kCategoryCount);
    const auto axes = page.barChart().axes(Qt::Horizontal);
    QCOMPARE(axes.size(), 1);
    auto *unitAxis = qobject_cast<QBarCategoryAxis *>(axes.first());
    QVERIFY(unitAxis);
    QStringList units;
    for (int r = 1; r <= dataRows; ++r)
        units << grid.cellText(r, 0);
    QCOMPARE(unitAxis->categories(), units);
    for (int c = 0; c < kCategoryCount; ++c) {
        QBarSet *set = bars->barSets().at(c);
        QCOMPARE(set->label(), grid.cellText(0, 1 + c));
        QCOMPARE(set->count(), dataRows);
        for (int r = 1; r <= dataRows; ++r)
            QCOMPARE(QString::number(set->at(r - 1)), grid.cellText(r, 1 + c));
    }

    const auto pieSeries = page.pieChart().series();
    QCOMPARE(pieSeries.size(), 1);
    auto *pie = qobject_cast<QPieSeries *>(pieSeries.first());
    QVERIFY(pie);
    QCOMPARE(pie->count(), kCategoryCount);
    const int totalRow = grid.rowCount() - 1;
    QCOMPARE(grid.cellText(totalRow, 0), kTotalRowName);
    const auto markers = page.pieChart().legend()->markers(pie);
    QCOMPARE(markers.size(), kCategoryCount);
    for (int c = 0; c < kCategoryCount; ++c) {
        QCOMPARE(markers.at(c)->label(), grid.cellText(0, 1 + c));
        QCOMPARE(pie->slices().at(c)->label(), grid.cellText(totalRow, 1 + c));
        QCOMPARE(QString::number(pie->slices().at(c)->value()), grid.cellText(totalRow, 1 + c));
    }
}

// On the page as a clerk's screen (1366 by 768) shows it, the pie's legend names every category
// whole and its slices carry the counts, even a county's five-digit ones: names and counts
// together were cut short ("非贫困人口 ...").
void StatisticsPageTest::pieShowsEveryCategoryAndCountWhole()
{
    QWidget screen; // the main window's page, shown before the statistics page is made in it
    screen.resize(1350, 672);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    (new QVBoxLayout(&screen))->addWidget(&page);
    QVERIFY(f.choose(kAllUnitsItem, QStringLiteral("全部")));
    StatisticsTable county;
    county.unit = kAllUnitsItem;
    county.total.categories = {12345, 23456, 3456, 98765};
    showCategoryPie(page.pieChart(), county);
    QCoreApplication::processEvents();

    QStringList legend;
    QList<QGraphicsItem *> items = page.pieChart().legend()->childItems();
    while (!items.isEmpty()) {
        QGraphicsItem *item = items.takeFirst();
        if (auto *text = dynamic_cast<QGraphicsTextItem *>(item); text && text->isVisible())
            legend << text->toPlainText();
        items << item->childItems();
    }
    QCOMPARE(legend, (QStringList{QStringLiteral("扶贫户"), QStringLiteral("低保户"), QStringLiteral("三无"),
                                  QStringLiteral("非贫困人口")}));
    auto *pie = qobject_cast<QPieSeries *>(page.pieChart().series().value(0));
    QVERIFY(pie);
    QStringList counts;
    for (const QPieSlice *slice : pie->slices())
        counts << slice->label();
    QCOMPARE(counts, (QStringList{QStringLiteral("12345"), QStringLiteral("23456"), QStringLiteral("3456"),
                                  QStringLiteral("98765")}));
}

void StatisticsPageTest::emptyRegister()
{
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    StatisticsPage &page = f.makePage();
    QCOMPARE(page.unitTree().itemCount(), 1);
    QCOMPARE(f.tableLines(), QStringList{QStringLiteral("合计 0 0 0 0 0 0 0 0 0 0 0")});
    QCOMPARE(qobject_cast<QBarSeries *>(page.barChart().series().first())->barSets().first()->count(), 0);
}

void StatisticsPageTest::refreshKeepsTheChoiceAndSeesNewHouseholds()
{
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    QVERIFY(f.choose(QStringLiteral("V3"), QStringLiteral("2020")));
    QVERIFY(f.addHousehold(QStringLiteral("V3"), QStringLiteral("W2"), 2020, QStringLiteral("三无"),
                           QStringLiteral("000000")));
    page.refresh();
    QCOMPARE(page.unitTree().itemText(page.unitTree().selectedIndex()), QStringLiteral("V3"));
    QCOMPARE(page.yearList().selectedText(), QStringLiteral("2020"));
    QCOMPARE(f.tableLines(),
             (QStringList{QStringLiteral("V3 0 1 1 0 2 1 0 0 0 0 0"), QStringLiteral("合计 0 1 1 0 2 1 0 0 0 0 0")}));
}

void StatisticsPageTest::exportWritesTableAndChartFigures()
{
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    QVERIFY(f.choose(QStringLiteral("W1"), QStringLiteral("全部")));
    page.exportStatistics();
    QCOMPARE(f.opener.opened().size(), 1);
    const QString path = f.opener.opened().first();

    // Read back with an independent reader: every non-empty cell as "A1=text", row by row.
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys\nfrom openpyxl import load_workbook\n"
                                 "s = load_workbook(sys.argv[1]).worksheets[0]\n"
                                 "print(s.title)\n"
                                 "for row in s.iter_rows():\n"
                                 "    cells = [str(c.value) for c in row if c.value is not None]\n"
                                 "    if cells: print(' '.join(cells))\n"),
                  path});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QFile::remove(path);
    QCOMPARE(lines, (QStringList{
                        QStringLiteral("统计分析表"),
                        QStringLiteral("统计分析表（W1  全部年份）"),
                        QStringLiteral("单位 扶贫户 低保户 三无 非贫困人口 总户数 合作医疗 养老保险 是否残疾 是否党员 "
                                       "是否上访户 是否违法"),
                        QStringLiteral("V1 2 1 1 0 4 1 1 1 1 0 0"),
                        QStringLiteral("V2 1 1 0 1 3 1 0 0 0 1 1"),
                        QStringLiteral("同名村 0 1 0 0 1 1 0 0 0 0 0"),
                        QStringLiteral("未归属 1 0 0 0 1 1 1 0 0 0 0"),
                        QStringLiteral("合计 4 3 1 1 9 4 2 1 1 1 1"),
                        QStringLiteral("柱状图数据：各单位农户属性户数"),
                        QStringLiteral("单位 扶贫户 低保户 三无 非贫困人口"),
                        QStringLiteral("V1 2 1 1 0"),
                        QStringLiteral("V2 1 1 0 1"),
                        QStringLiteral("同名村 0 1 0 0"),
                        QStringLiteral("未归属 1 0 0 0"),
                        QStringLiteral("饼图数据：合计中的农户属性"),
                        QStringLiteral("农户属性 户数 占比"),
                        QStringLiteral("扶贫户 4 44.4%"),
                        QStringLiteral("低保户 3 33.3%"),
                        QStringLiteral("三无 1 11.1%"),
                        QStringLiteral("非贫困人口 1 11.1%"),
                    }));
}

// The workbook carries the spreadsheet program's own charts, drawn from the table's cells: the
// categories by sub-unit (the total row left out) and the total row's categories as a pie. The
// cells they draw from hold numbers, not texts, or the charts would show nothing.
void StatisticsPageTest::exportDrawsChartsFromTheTable()
{
    StatisticsFixture f;
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    QVERIFY(f.choose(QStringLiteral("W1"), QStringLiteral("全部")));
    page.exportStatistics();
    QCOMPARE(f.opener.opened().size(), 1);
    const QString path = f.opener.opened().first();

    // Each chart's kind, title and every formula it draws from; then the kind of every cell the
    // charts read, and their values.
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import re, sys, zipfile\n"
                                 "from openpyxl import load_workbook\n"
                                 "z = zipfile.ZipFile(sys.argv[1])\n"
                                 "for n in ('xl/charts/chart1.xml', 'xl/charts/chart2.xml'):\n"
                                 "    x = z.read(n).decode()\n"
                                 "    kind = 'bar' if '<c:barChart>' in x else 'pie' if '<c:pieChart>' in x else '?'\n"
                                 "    title = ''.join(re.findall(r'<c:title>.*?</c:title>', x, re.S))\n"
                                 "    print(n, kind, ''.join(re.findall(r'<a:t>(.*?)</a:t>', title)))\n"
                                 "    for f in re.findall(r'<c:f>(.*?)</c:f>', x): print(f.replace('&apos;', \"'\"))\n"
                                 "print('xl/charts/chart3.xml' in z.namelist())\n"
                                 "s = load_workbook(sys.argv[1]).worksheets[0]\n"
                                 "for row in s['B3:E7']: print(' '.join(c.data_type + str(c.value) for c in row))\n"),
                  path});
    QVERIFY(reader.waitForFinished(30000));
    QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QFile::remove(path);
    QCOMPARE(lines, (QStringList{
                        QStringLiteral("xl/charts/chart1.xml bar W1  全部年份"),
                        // per series: its name, the categories, its values
                        QStringLiteral("'统计分析表'!$B$2"),
                        QStringLiteral("'统计分析表'!$A$3:$A$6"),
                        QStringLiteral("'统计分析表'!$B$3:$B$6"),
                        QStringLiteral("'统计分析表'!$C$2"),
                        QStringLiteral("'统计分析表'!$A$3:$A$6"),
                        QStringLiteral("'统计分析表'!$C$3:$C$6"),
                        QStringLiteral("'统计分析表'!$D$2"),
                        QStringLiteral("'统计分析表'!$A$3:$A$6"),
                        QStringLiteral("'统计分析表'!$D$3:$D$6"),
                        QStringLiteral("'统计分析表'!$E$2"),
                        QStringLiteral("'统计分析表'!$A$3:$A$6"),
                        QStringLiteral("'统计分析表'!$E$3:$E$6"),
                        QStringLiteral("xl/charts/chart2.xml pie W1 合计"),
                        QStringLiteral("'统计分析表'!$A$7"),
                        QStringLiteral("'统计分析表'!$B$2:$E$2"),
                        QStringLiteral("'统计分析表'!$B$7:$E$7"),
                        QStringLiteral("False"),
                        QStringLiteral("n2 n1 n1 n0"),
                        QStringLiteral("n1 n1 n0 n1"),
                        QStringLiteral("n0 n1 n0 n0"),
                        QStringLiteral("n1 n0 n0 n0"),
                        QStringLiteral("n4 n3 n1 n1"),
                    }));
}

void StatisticsPageTest::exportWithoutSpreadsheetProgramSaysSo()
{
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    f.opener.setAvailable(false);
    f.makePage().exportStatistics();
    QCOMPARE(f.dialogs.shown().size(), std::size_t(1));
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("请确保本机已安装微软件office软件！"));
    QCOMPARE(f.dialogs.shown().front().icon, MessageIcon::Error);
    QVERIFY(f.opener.opened().isEmpty());
}

void StatisticsPageTest::printsTheTable()
{
    StatisticsFixture f;
    REQUIRE_TEST_REGISTER(f.store);
    QVERIFY(f.open());
    QVERIFY(fillRegister(f));
    StatisticsPage &page = f.makePage();
    QVERIFY(f.choose(QStringLiteral("W1"), QStringLiteral("全部")));
    page.printStatistics();
    QCOMPARE(f.printer->printed(), QStringList{QStringLiteral("统计分析表")});
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), f.printer->path(), QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *expected :
         {"统计分析表", "非贫困人口", "是否上访户", "同名村", "未归属", "合计", "第 1 页，共 1 页"}) {
        QVERIFY2(printed.contains(QString::fromUtf8(expected)),
                 qPrintable(QString::fromUtf8(expected) + QStringLiteral(" not in:\n") + printed));
    }
    // pdftotext joins the blanks between unit and year into one.
    QVERIFY(printed.contains(QRegularExpression(QStringLiteral("W1\\s+全部年份"))));
    QVERIFY(printed.contains(
        QRegularExpression(QStringLiteral("合计\\s+4\\s+3\\s+1\\s+1\\s+9\\s+4\\s+2\\s+1\\s+1\\s+1\\s+1"))));
}

QTEST_MAIN(StatisticsPageTest)
#include "tst_statistics_page.moc"
