#include "core/clock.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/sheet_document.h"
#include "export/spreadsheet_opener.h"

#include "sheet_check.h"
#include "temp_dir_scope.h"

#include <QJsonArray>
#include <QtTest>

using namespace fenlark;

Q_DECLARE_METATYPE(std::optional<fenlark::CellArea>)

class TestExportLayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rangesAreNamedByTheirCorners_data();
    void rangesAreNamedByTheirCorners();
    void sheetNamesFollowExcelsRules_data();
    void sheetNamesFollowExcelsRules();
    void callsWithoutWorkbookOrRangeDoNothing();
    void borderOutlinesTheRangeAndMergeKeepsTheCornerValue();
    void numbersAndChartsAreCheckedBeforeKept();
    void releasingTheApplicationGivesUpItsUnshownWorkbooks();
    void releasingTheWorkbookLeavesItWithTheApplication();
};

void TestExportLayer::rangesAreNamedByTheirCorners_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<std::optional<CellArea>>("area");
    const auto area = [](int r1, int c1, int r2, int c2) { return std::optional<CellArea>(CellArea{r1, c1, r2, c2}); };
    QTest::newRow("title row") << QStringLiteral("A1") << QStringLiteral("M1") << area(0, 0, 0, 12);
    QTest::newRow("one cell") << QStringLiteral("C7") << QStringLiteral("C7") << area(6, 2, 6, 2);
    QTest::newRow("two letters") << QStringLiteral("AA10") << QStringLiteral("AZ10") << area(9, 26, 9, 51);
    QTest::newRow("lower case") << QStringLiteral("b2") << QStringLiteral("d4") << area(1, 1, 3, 3);
    QTest::newRow("corners swapped") << QStringLiteral("M3") << QStringLiteral("A1") << area(0, 0, 2, 12);
    QTest::newRow("last cell of a sheet")
        << QStringLiteral("XFD1048576") << QStringLiteral("XFD1048576") << area(1048575, 16383, 1048575, 16383);
    QTest::newRow("column past the sheet")
        << QStringLiteral("XFE1") << QStringLiteral("XFE1") << std::optional<CellArea>();
    QTest::newRow("row past the sheet") << QStringLiteral("A1048577") << QStringLiteral("A1")
                                        << std::optional<CellArea>();
    QTest::newRow("row 0") << QStringLiteral("A0") << QStringLiteral("A1") << std::optional<CellArea>();
    QTest::newRow("leading zero") << QStringLiteral("A01") << QStringLiteral("A1") << std::optional<CellArea>();
    QTest::newRow("no row") << QStringLiteral("A") << QStringLiteral("A1") << std::optional<CellArea>();
    QTest::newRow("no column") << QStringLiteral("1") << QStringLiteral("A1") << std::optional<CellArea>();
    QTest::newRow("letters after the row")
        << QStringLiteral("A1B") << QStringLiteral("A1") << std::optional<CellArea>();
    QTest::newRow("empty") << QString() << QStringLiteral("A1") << std::optional<CellArea>();
}

void TestExportLayer::rangesAreNamedByTheirCorners()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(std::optional<CellArea>, area);
    RecordingSpreadsheetOpener opener;
    SystemClock clock;
    ExcelApplication app(opener, clock);
    ExcelWorkbook book;
    QVERIFY(app.start());
    QVERIFY(book.newWorkbook(app));
    QVERIFY(book.setRange(QStringLiteral("B2"), QStringLiteral("B2")));

    QCOMPARE(book.setRange(first, last), area.has_value());
    // A name that is refused leaves the earlier range current.
    QCOMPARE(book.range(), area ? area : std::optional<CellArea>(CellArea{1, 1, 1, 1}));
}

void TestExportLayer::sheetNamesFollowExcelsRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("the sheet's name") << QStringLiteral("贫农明细表") << true;
    QTest::newRow("31 characters") << QString(31, u'表') << true;
    QTest::newRow("32 characters") << QString(32, u'表') << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("slash") << QStringLiteral("2016/04") << false;
    QTest::newRow("bracket") << QStringLiteral("[明细]") << false;
    QTest::newRow("leading apostrophe") << QStringLiteral("'明细") << false;
    QTest::newRow("inner apostrophe") << QStringLiteral("张三's") << true;
}

void TestExportLayer::sheetNamesFollowExcelsRules()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    SheetDocument document;
    QCOMPARE(document.setSheetName(name), accepted);
    QCOMPARE(document.sheetName(), accepted ? name : QStringLiteral("Sheet1"));
}

void TestExportLayer::callsWithoutWorkbookOrRangeDoNothing()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    RecordingSpreadsheetOpener opener;
    SystemClock clock;
    ExcelApplication app(opener, clock);
    ExcelWorkbook book;

    QVERIFY(!app.show());
    QVERIFY(!book.newWorkbook(app));
    QVERIFY(!book.setRange(QStringLiteral("A1"), QStringLiteral("A1")));
    QVERIFY(!book.setSheetName(QStringLiteral("明细")));

    QVERIFY(app.start());
    QVERIFY(book.newWorkbook(app));
    QVERIFY(!book.setValue(QStringLiteral("无范围")));
    QVERIFY(!book.merge());
    QVERIFY(!book.setHorizontalAlignment(xl::HAlignCenter));
    QVERIFY(book.setRange(QStringLiteral("A1"), QStringLiteral("A1")));
    QVERIFY(!book.setHorizontalAlignment(12345));
    QVERIFY(!book.borderAround(xl::Continuous, 99, std::nullopt, 0));
    QVERIFY(!book.setColumnWidth(256));
    QVERIFY(!book.setFontSize(0));
    QCOMPARE(temp.entries(), QStringList());
}

// A number stays a number until a text replaces it; a chart that could not be drawn is refused
// when it is added, not found missing when the file is written.
void TestExportLayer::numbersAndChartsAreCheckedBeforeKept()
{
    SheetDocument document;
    QVERIFY(document.setNumber({1, 1, 2, 1}, 42));
    QVERIFY(document.isNumber(2, 1));
    QCOMPARE(document.value(2, 1), QStringLiteral("42"));
    QVERIFY(!document.setNumber({0, 0, 0, 0}, std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(document.setValue({2, 1, 2, 1}, QStringLiteral("42")));
    QVERIFY(!document.isNumber(2, 1));
    QVERIFY(document.isNumber(1, 1));

    const SheetChart::Series values{{1, 1, 2, 1}, CellPosition{0, 1}};
    const SheetChart column{SheetChart::Kind::Column, QStringLiteral("柱"), {1, 0, 2, 0}, {values, values}, {4, 0}};
    SheetChart noSeries = column;
    noSeries.series.clear();
    SheetChart pieOfTwo = column;
    pieOfTwo.kind = SheetChart::Kind::Pie;
    SheetChart beyond = column;
    beyond.series[1].values.lastRow = kSheetRowCount;
    SheetChart reversed = column;
    reversed.categories = {2, 0, 1, 0};
    for (const SheetChart &refused : {noSeries, pieOfTwo, beyond, reversed})
        QVERIFY(!document.addChart(refused));
    QVERIFY(document.charts().empty());
    QVERIFY(document.addChart(column));
    QCOMPARE(document.charts().size(), std::size_t(1));
}

void TestExportLayer::borderOutlinesTheRangeAndMergeKeepsTheCornerValue()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    RecordingSpreadsheetOpener opener;
    SystemClock clock;
    ExcelApplication app(opener, clock);
    ExcelWorkbook book;
    QVERIFY(app.start());
    QVERIFY(book.newWorkbook(app));

    QVERIFY(book.setRange(QStringLiteral("B2"), QStringLiteral("D4")));
    QVERIFY(book.borderAround(xl::Continuous, xl::Thin, std::nullopt, 0x0000FF)); // red, as Excel spells it
    QVERIFY(book.setRange(QStringLiteral("C6"), QStringLiteral("C6")));
    QVERIFY(book.setValue(QStringLiteral("并入")));
    QVERIFY(book.setRange(QStringLiteral("B6"), QStringLiteral("B6")));
    QVERIFY(book.setValue(QStringLiteral("保留")));
    QVERIFY(book.setRange(QStringLiteral("B6"), QStringLiteral("C6")));
    QVERIFY(book.merge());
    QVERIFY(book.setRange(QStringLiteral("F8"), QStringLiteral("H8")));
    QVERIFY(book.setColumnWidth(15));
    QVERIFY(book.setSheetName(QStringLiteral("明细")));
    QVERIFY(app.show());

    QCOMPARE(opener.opened().size(), 1);
    QVERIFY(opener.opened().first().startsWith(temp.path() + QStringLiteral("/明细_")));
    QJsonObject cells;
    const QStringList rows[] = {{QStringLiteral("LT"), QStringLiteral("T"), QStringLiteral("TR")},
                                {QStringLiteral("L"), QString(), QStringLiteral("R")},
                                {QStringLiteral("LB"), QStringLiteral("B"), QStringLiteral("RB")}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            cells[QString(QChar(u'B' + c)) + QString::number(r + 2)] = QJsonObject{
                {QStringLiteral("border"), rows[r][c]}, {QStringLiteral("border_color"), QStringLiteral("FFFF0000")}};
    cells[QStringLiteral("B6")] = QJsonObject{{QStringLiteral("value"), QStringLiteral("保留")}};
    cells[QStringLiteral("C6")] = QJsonObject{{QStringLiteral("value"), QJsonValue::Null}};
    const QJsonObject expected{
        {QStringLiteral("sheets"), QJsonArray{QStringLiteral("明细")}},
        {QStringLiteral("merged"), QJsonArray{QStringLiteral("B6:C6")}},
        {QStringLiteral("widths"),
         QJsonObject{{QStringLiteral("F"), 15}, {QStringLiteral("G"), 15}, {QStringLiteral("H"), 15}}},
        {QStringLiteral("cells"), cells}};
    const QString differences = checkSheet(opener.opened().first(), expected);
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

void TestExportLayer::releasingTheApplicationGivesUpItsUnshownWorkbooks()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    RecordingSpreadsheetOpener opener;
    SystemClock clock;
    ExcelApplication app(opener, clock);
    ExcelWorkbook book;
    QVERIFY(app.start());
    QVERIFY(book.newWorkbook(app));
    QVERIFY(book.setRange(QStringLiteral("A1"), QStringLiteral("A1")));
    QVERIFY(book.setValue(QStringLiteral("未显示")));

    app.release();
    QVERIFY(!app.show());
    QVERIFY(app.start()); // a new instance knows nothing of the earlier one's workbook
    QVERIFY(app.show());

    QVERIFY(opener.opened().isEmpty());
    QCOMPARE(temp.entries(), QStringList());
}

void TestExportLayer::releasingTheWorkbookLeavesItWithTheApplication()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    RecordingSpreadsheetOpener opener;
    SystemClock clock;
    ExcelApplication app(opener, clock);
    ExcelWorkbook book;
    QVERIFY(app.start());
    QVERIFY(book.newWorkbook(app));
    QVERIFY(book.setRange(QStringLiteral("A1"), QStringLiteral("A1")));
    QVERIFY(book.setValue(QStringLiteral("仍在")));

    book.release();
    QVERIFY(!book.setValue(QStringLiteral("已释放")));
    QVERIFY(app.show());
    QVERIFY(app.show()); // shown once only

    QCOMPARE(opener.opened().size(), 1);
    const QJsonObject expected{
        {QStringLiteral("sheets"), QJsonArray{QStringLiteral("Sheet1")}},
        {QStringLiteral("cells"),
         QJsonObject{{QStringLiteral("A1"), QJsonObject{{QStringLiteral("value"), QStringLiteral("仍在")}}}}}};
    const QString differences = checkSheet(opener.opened().first(), expected);
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

QTEST_GUILESS_MAIN(TestExportLayer)
#include "tst_export_layer.moc"
