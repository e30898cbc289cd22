#include "core/clock.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/poor_household_export.h"
#include "export/spreadsheet_opener.h"
#include "ui/dialogs.h"

#include "fake_sheet_source.h"
#include "sheet_check.h"
#include "temp_dir_scope.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QtTest>

using namespace fenlark;

namespace {

const QString kTitle = QStringLiteral("贫农明细表");

QStringList household(const char *n, const char *name, const char *card, const char *attribute, const char *checks,
                      const char *health, const char *updated)
{
    const QString boxes = QString::fromUtf8(checks); // the six boxes, columns 5 6 7 9 10 11
    return {
        QString::fromUtf8(n),         QString::fromUtf8(name), QString::fromUtf8(card), QStringLiteral("东风村委会"),
        QString::fromUtf8(attribute), boxes.mid(0, 1),         boxes.mid(1, 1),         boxes.mid(2, 1),
        QString::fromUtf8(health),    boxes.mid(3, 1),         boxes.mid(4, 1),         boxes.mid(5, 1),
        QString::fromUtf8(updated)};
}

QList<QStringList> fourHouseholds()
{
    return {household("1", "李四", "11010119850101123X", "低保户", "000111", "", "2016-04-13 08:05:10"),
            household("2", "王五", "610102197001010011", "三无", "101010", "残疾", "2015-01-02 03:04:05"),
            household("3", "赵六", "000000000000000001", "非贫困人口", "010101", "良好", "2014-12-31 23:59:59"),
            household("4", "钱七", "110101199003071234", "扶贫户", "111000", "健康", "2016-04-13 08:05:09")};
}

// The sheet the export must produce from these list rows (header first), written out cell by cell.
QJsonObject expectedSheet(const QList<QStringList> &listRows)
{
    static const int widths[13] = {4, 9, 20, 20, 10, 10, 10, 10, 10, 10, 10, 10, 18};
    QJsonObject cells;
    QJsonObject widthOf;
    for (int c = 0; c < 13; ++c) {
        const QString letter = QString(QChar(u'A' + c));
        widthOf[letter] = widths[c];
        cells[letter + QStringLiteral("1")] =
            QJsonObject{{QStringLiteral("value"), QJsonValue::Null}, {QStringLiteral("border"), QString()}};
    }
    cells[QStringLiteral("A1")] = QJsonObject{{QStringLiteral("value"), kTitle},
                                              {QStringLiteral("type"), QStringLiteral("s")},
                                              {QStringLiteral("size"), 24},
                                              {QStringLiteral("align"), QStringLiteral("center")},
                                              {QStringLiteral("border"), QString()}};
    for (int r = 0; r < listRows.size(); ++r) {
        for (int c = 0; c < 13; ++c) {
            QString value = listRows[r][c];
            if (r > 0 && FakeSheetSource::isCheckColumn(c))
                value = value == QStringLiteral("1") ? QStringLiteral("√") : QStringLiteral("×");
            QJsonObject cell{{QStringLiteral("align"), QStringLiteral("center")},
                             {QStringLiteral("border"), QStringLiteral("LRTB")},
                             {QStringLiteral("size"), 11}};
            if (value.isEmpty()) {
                cell[QStringLiteral("value")] = QJsonValue::Null;
            } else {
                cell[QStringLiteral("value")] = value;
                cell[QStringLiteral("type")] = QStringLiteral("s");
            }
            cells[QString(QChar(u'A' + c)) + QString::number(r + 2)] = cell;
        }
    }
    return {{QStringLiteral("sheets"), QJsonArray{kTitle}},
            {QStringLiteral("merged"), QJsonArray{QStringLiteral("A1:M1")}},
            {QStringLiteral("max_row"), int(listRows.size()) + 1},
            {QStringLiteral("max_column"), 13},
            {QStringLiteral("widths"), widthOf},
            // The 24-point title needs a row taller than the standard 15 points, else a
            // spreadsheet program shows its upper half only.
            {QStringLiteral("min_heights"), QJsonObject{{QStringLiteral("1"), 30}}},
            {QStringLiteral("cells"), cells}};
}

// The sheet name, the date and time, then a token of its own that makes the name unique.
QRegularExpression exportName()
{
    return QRegularExpression(QStringLiteral("^贫农明细表_20261210_081502_[0-9a-f]{12}\\.xlsx$"));
}

// What a main window holds for the export: the two objects, the opener and the dialogs.
struct Exporter {
    RecordingSpreadsheetOpener opener;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(8, 15, 2, 123))};
    ExcelApplication app{opener, clock};
    ExcelWorkbook book;
    ScriptedDialogs dialogs;

    void run(const FakeSheetSource &list) { exportPoorHouseholdSheet(list, app, book, dialogs, nullptr); }
};

} // namespace

class TestExportSheet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheSheetOfTheList_data();
    void writesTheSheetOfTheList();
    void everyExportMakesANewFile();
    void withoutASpreadsheetProgramOnlySaysSo();
    void aWorkbookThatCannotBeWrittenIsReported();
};

void TestExportSheet::writesTheSheetOfTheList_data()
{
    QTest::addColumn<QList<QStringList>>("households");
    QTest::newRow("one household, first three boxes set") << QList<QStringList>{
        household("1", "张三", "110101199003071234", "扶贫户", "111000", "健康", "2016-04-13 08:05:09")};
    QTest::newRow("four households left by a search") << fourHouseholds();
}

void TestExportSheet::writesTheSheetOfTheList()
{
    QFETCH(QList<QStringList>, households);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    const FakeSheetSource list(households);

    exporter.run(list);

    QVERIFY(exporter.dialogs.shown().empty());
    QCOMPARE(exporter.opener.opened().size(), 1);
    const QString path = exporter.opener.opened().first();
    QCOMPARE(QFileInfo(path).absolutePath(), temp.path());
    QCOMPARE(temp.entries(), QStringList{QFileInfo(path).fileName()});
    QVERIFY2(exportName().match(QFileInfo(path).fileName()).hasMatch(), qPrintable(path));
    const QString differences = checkSheet(path, expectedSheet(list.rows()));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

void TestExportSheet::everyExportMakesANewFile()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter; // the clock stands still: both exports fall within one millisecond
    const FakeSheetSource four(fourHouseholds());
    const FakeSheetSource one(
        {household("1", "孙八", "220101199912319876", "低保户", "000000", "健康", "2020-02-29 12:00:00")});

    exporter.run(four);
    exporter.run(one);

    QVERIFY(exporter.dialogs.shown().empty());
    const QStringList opened = exporter.opener.opened();
    QCOMPARE(opened.size(), 2);
    QVERIFY(exportName().match(QFileInfo(opened[0]).fileName()).hasMatch());
    QVERIFY(exportName().match(QFileInfo(opened[1]).fileName()).hasMatch());
    QVERIFY(opened[0] != opened[1]);
    // The second workbook starts empty: nothing of the first export's longer list shows in it.
    QString differences = checkSheet(opened[0], expectedSheet(four.rows()));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
    differences = checkSheet(opened[1], expectedSheet(one.rows()));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

void TestExportSheet::withoutASpreadsheetProgramOnlySaysSo()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    exporter.opener.setAvailable(false);

    exporter.run(FakeSheetSource(fourHouseholds()));

    QCOMPARE(exporter.dialogs.shown().size(), std::size_t(1));
    const auto &shown = exporter.dialogs.shown().front();
    QCOMPARE(shown.text, QStringLiteral("请确保本机已安装微软件office软件！"));
    QCOMPARE(shown.icon, MessageIcon::Error);
    QCOMPARE(shown.title, QStringLiteral("信息："));
    QVERIFY(!shown.question);
    QVERIFY(exporter.opener.opened().isEmpty());
    QVERIFY(!exporter.book.hasWorkbook());
    QCOMPARE(temp.entries(), QStringList());
}

// A cell beyond a sheet's 32767 characters: libxlsxwriter refuses it, so the file would lack it.
void TestExportSheet::aWorkbookThatCannotBeWrittenIsReported()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    QList<QStringList> rows = fourHouseholds();
    rows[1][8] = QString(40000, u'病');

    exporter.run(FakeSheetSource(rows));

    QVERIFY(exporter.opener.opened().isEmpty());
    QCOMPARE(exporter.dialogs.shown().size(), std::size_t(1));
    QCOMPARE(exporter.dialogs.shown().front().icon, MessageIcon::Error);
    QCOMPARE(exporter.dialogs.lastText(),
             QStringLiteral("导出失败,贫农明细表没有写成文件,请检查磁盘空间和临时文件夹后重试!"));
    QCOMPARE(temp.entries(), QStringList()); // no half-written file left behind
}

QTEST_GUILESS_MAIN(TestExportSheet)
#include "tst_export_sheet.moc"
