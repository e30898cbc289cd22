#include "core/clock.h"
#include "export/detail_sheet_writer.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/poor_household_export.h"
#include "export/poor_household_walk.h"
#include "export/spreadsheet_opener.h"
#include "ui/dialogs.h"

#include "fake_sheet_source.h"
#include "sheet_check.h"
#include "temp_dir_scope.h"

#include <QFile>
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

// A list of n households, numbered, with every box pattern and health in turn.
QList<QStringList> manyHouseholds(int n)
{
    static const char *const boxes[] = {"000000", "111000", "000111", "101010", "010101", "111111"};
    static const char *const health[] = {"健康", "", "残疾", "良好", "慢性疾病"};
    QList<QStringList> rows;
    rows.reserve(n);
    for (int i = 1; i <= n; ++i) {
        const QByteArray number = QByteArray::number(i);
        const QByteArray card = QByteArray("1101011990") + QByteArray::number(10000000 + i);
        rows << household(number.constData(), "周九", card.constData(), "扶贫户", boxes[i % 6], health[i % 5],
                          "2016-04-13 08:05:09");
    }
    return rows;
}

// The two ways the detail sheet is made: through the spreadsheet objects call by call, in
// memory (the reference), and streamed row by row by the list's 导出.
enum class Way { Walked, Streamed };

// What a main window holds for the export: the two objects, the opener and the dialogs.
struct Exporter {
    RecordingSpreadsheetOpener opener;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(8, 15, 2, 123))};
    ExcelApplication app{opener, clock};
    ExcelWorkbook book;
    ScriptedDialogs dialogs;
    Way way = Way::Streamed;

    void run(const FakeSheetSource &list)
    {
        if (way == Way::Walked)
            walkPoorHouseholdSheet(list, app, book, dialogs, nullptr);
        else
            exportPoorHouseholdSheet(list, app, dialogs, nullptr);
    }
};

void addWays()
{
    QTest::addColumn<Way>("way");
    QTest::newRow("walked") << Way::Walked;
    QTest::newRow("streamed") << Way::Streamed;
}

// Sets an environment variable for as long as the scope lives.
class EnvironmentScope {
public:
    EnvironmentScope(const char *name, const QByteArray &value)
        : m_name(name), m_previous(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentScope()
    {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    EnvironmentScope(const EnvironmentScope &) = delete;
    EnvironmentScope &operator=(const EnvironmentScope &) = delete;

private:
    const char *m_name;
    QByteArray m_previous;
    bool m_had;
};

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(fenlark::SheetWriteResult)

class TestExportSheet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheSheetOfTheList_data();
    void writesTheSheetOfTheList();
    void everyExportMakesANewFile_data() { addWays(); }
    void everyExportMakesANewFile();
    void withoutASpreadsheetProgramOnlySaysSo_data() { addWays(); }
    void withoutASpreadsheetProgramOnlySaysSo();
    void aWorkbookThatCannotBeWrittenIsReported_data() { addWays(); }
    void aWorkbookThatCannotBeWrittenIsReported();
    void aFolderThatTakesNoFilesIsReported_data() { addWays(); }
    void aFolderThatTakesNoFilesIsReported();
    void theStreamedSheetIsTheWalkedOne();
    void aLongListShowsItsProgressAndCanBeStopped_data();
    void aLongListShowsItsProgressAndCanBeStopped();
    void theWriterNeverReplacesAFile();
    void theLastReportComesWithTheFileWritten();
    void aLongExportThatEndsEarlyLeavesNoFile_data();
    void aLongExportThatEndsEarlyLeavesNoFile();
};

void TestExportSheet::writesTheSheetOfTheList_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<QList<QStringList>>("households");
    for (const auto &[way, name] : {std::pair{Way::Walked, "walked"}, std::pair{Way::Streamed, "streamed"}}) {
        QTest::addRow("%s: one household, first three boxes set", name)
            << way
            << QList<QStringList>{
                   household("1", "张三", "110101199003071234", "扶贫户", "111000", "健康", "2016-04-13 08:05:09")};
        QTest::addRow("%s: four households left by a search", name) << way << fourHouseholds();
    }
}

void TestExportSheet::writesTheSheetOfTheList()
{
    QFETCH(Way, way);
    QFETCH(QList<QStringList>, households);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    exporter.way = way;
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
    QFETCH(Way, way);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter; // the clock stands still: both exports fall within one millisecond
    exporter.way = way;
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
    QFETCH(Way, way);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    exporter.way = way;
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
    QFETCH(Way, way);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    exporter.way = way;
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

// The register's export folder cannot be made (a file stands where a folder would be), and
// neither can the fallback in the user's documents.
void TestExportSheet::aFolderThatTakesNoFilesIsReported()
{
    QFETCH(Way, way);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    QFile blocker(temp.path() + QStringLiteral("/a file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray blocked = QFile::encodeName(blocker.fileName());
    const EnvironmentScope home("HOME", blocked);
    const EnvironmentScope config("XDG_CONFIG_HOME", blocked);
    QVERIFY(ExcelApplication::documentsExportFolder().startsWith(blocker.fileName()));
    Exporter exporter;
    exporter.way = way;
    exporter.app.setExportFolder(blocker.fileName() + QStringLiteral("/导出"));

    exporter.run(FakeSheetSource(fourHouseholds()));

    QVERIFY(exporter.opener.opened().isEmpty());
    QVERIFY(exporter.app.savedFiles().isEmpty()); // the main window tells of no file
    QCOMPARE(exporter.dialogs.shown().size(), std::size_t(1));
    QCOMPARE(exporter.dialogs.shown().front().icon, MessageIcon::Error);
    QCOMPARE(exporter.dialogs.lastText(),
             QStringLiteral("导出失败,贫农明细表没有写成文件,请检查磁盘空间和临时文件夹后重试!"));
    QCOMPARE(temp.entries(), QStringList{QStringLiteral("a file")});
}

// Both ways read back by the same reader: every cell's value, type, size, alignment and borders,
// the merge, the widths and the heights agree.
void TestExportSheet::theStreamedSheetIsTheWalkedOne()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    QList<QStringList> rows = fourHouseholds();
    rows << manyHouseholds(7);
    rows[2][1].clear(); // an empty text cell is bordered all the same
    const FakeSheetSource list(rows);
    Exporter walked;
    walked.way = Way::Walked;
    Exporter streamed;

    walked.run(list);
    streamed.run(list);

    QVERIFY(walked.dialogs.shown().empty());
    QVERIFY(streamed.dialogs.shown().empty());
    QCOMPARE(walked.opener.opened().size(), 1);
    QCOMPARE(streamed.opener.opened().size(), 1);
    const QString differences = compareSheets(streamed.opener.opened().first(), walked.opener.opened().first());
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

void TestExportSheet::aLongListShowsItsProgressAndCanBeStopped_data()
{
    QTest::addColumn<int>("households");
    QTest::addColumn<int>("cancelAt"); // the progress report whose answer is 取消; 0: none
    QTest::addColumn<bool>("window");
    QTest::addColumn<bool>("written");
    const int longList = kExportProgressRows + 500;
    QTest::newRow("a long list carried to its end") << longList << 0 << true << true;
    QTest::newRow("stopped at the first report") << longList << 1 << true << false;
    QTest::newRow("stopped in the middle") << longList << 3 << true << false;
    QTest::newRow("stopped at the last report") << longList << 7 << true << false;
    QTest::newRow("a list just short enough has no window") << kExportProgressRows << 1 << false << true;
}

void TestExportSheet::aLongListShowsItsProgressAndCanBeStopped()
{
    QFETCH(int, households);
    QFETCH(int, cancelAt);
    QFETCH(bool, window);
    QFETCH(bool, written);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    Exporter exporter;
    exporter.dialogs.cancelProgressAt(cancelAt);
    const FakeSheetSource list(manyHouseholds(households));

    exporter.run(list);

    QCOMPARE(exporter.dialogs.progressShown().size(), std::size_t(window ? 1 : 0));
    if (window) {
        const auto &progress = exporter.dialogs.progressShown().front();
        QCOMPARE(progress.total, list.rowCount());
        QVERIFY(!progress.values.empty());
        QCOMPARE(progress.values.front(), 0);
        QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
        QCOMPARE(progress.cancelled, !written);
        if (written)
            QCOMPARE(progress.values.back(), list.rowCount());
        else
            QCOMPARE(int(progress.values.size()), cancelAt); // nothing more is written after 取消
    }
    QVERIFY(exporter.dialogs.shown().empty()); // a stopped export is no failure to report
    if (!written) {
        QVERIFY(exporter.opener.opened().isEmpty());
        QVERIFY(exporter.app.savedFiles().isEmpty());
        QCOMPARE(temp.entries(), QStringList()); // neither the workbook nor its part file
        return;
    }
    QCOMPARE(exporter.opener.opened().size(), 1);
    const QString path = exporter.opener.opened().first();
    QCOMPARE(temp.entries(), QStringList{QFileInfo(path).fileName()});
    const QString differences = checkSheet(path, expectedSheet(list.rows()));
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

// A name taken meanwhile (by another program, say) keeps its file: the finished sheet is not
// moved over it and its part file goes.
void TestExportSheet::theWriterNeverReplacesAFile()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    QFile taken(temp.path() + QStringLiteral("/贫农明细表.xlsx"));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.write("keep");
    taken.close();

    const auto result = writeDetailSheet(FakeSheetSource(fourHouseholds()), taken.fileName(), {});

    QCOMPARE(result, SheetWriteResult::Failed);
    QVERIFY(taken.open(QIODevice::ReadOnly));
    QCOMPARE(taken.readAll(), QByteArray("keep"));
    QCOMPARE(temp.entries(), QStringList{QStringLiteral("贫农明细表.xlsx")});
}

// The progress window closes at its last report: that report must wait for the workbook's file
// to be assembled and compressed, the longest step of a long export, not come before it.
void TestExportSheet::theLastReportComesWithTheFileWritten()
{
    TempDirScope temp;
    QVERIFY(temp.isValid());
    const FakeSheetSource list(manyHouseholds(1200));
    const QString target = temp.path() + QStringLiteral("/贫农明细表.xlsx");
    QList<int> reports;
    QByteArray writtenAtTheEnd;

    const auto result = writeDetailSheet(
        list, target,
        [&](int written, int total) {
            // A report is repeated while the writer catches up, so the window keeps repainting.
            if (reports.isEmpty() || reports.last() != written)
                reports.append(written);
            if (written == total) {
                const QStringList files = temp.entries();
                if (files.size() == 1) {
                    QFile part(temp.path() + QLatin1Char('/') + files.first());
                    if (part.open(QIODevice::ReadOnly))
                        writtenAtTheEnd = part.readAll();
                }
            }
            return true;
        },
        500);

    QCOMPARE(result, SheetWriteResult::Written);
    QCOMPARE(reports, (QList<int>{0, 500, 1000, 1201}));
    QVERIFY2(writtenAtTheEnd.startsWith("PK"), "the last report came before the file was written");
    QFile done(target);
    QVERIFY(done.open(QIODevice::ReadOnly));
    QCOMPARE(done.readAll(), writtenAtTheEnd);
}

void TestExportSheet::aLongExportThatEndsEarlyLeavesNoFile_data()
{
    QTest::addColumn<int>("refusedRow"); // a list row with a cell the workbook refuses; 0: none
    QTest::addColumn<bool>("cancelWhenAllWritten");
    QTest::addColumn<SheetWriteResult>("result");
    QTest::newRow("a refused cell halfway") << 10000 << false << SheetWriteResult::Failed;
    QTest::newRow("a refused cell in the last row") << 20000 << false << SheetWriteResult::Failed;
    // Every row written: 取消 comes while the file is assembled or at the very last report.
    QTest::newRow("stopped once every row is written") << 0 << true << SheetWriteResult::Cancelled;
}

void TestExportSheet::aLongExportThatEndsEarlyLeavesNoFile()
{
    QFETCH(int, refusedRow);
    QFETCH(bool, cancelWhenAllWritten);
    QFETCH(SheetWriteResult, result);
    TempDirScope temp;
    QVERIFY(temp.isValid());
    QList<QStringList> rows = manyHouseholds(20000);
    if (refusedRow > 0)
        rows[refusedRow - 1][8] = QString(40000, u'病');
    const FakeSheetSource list(rows);
    const int lastOfEvery = (list.rowCount() - 1) / 500 * 500;
    QList<int> reports;

    const auto ended = writeDetailSheet(
        list, temp.path() + QStringLiteral("/贫农明细表.xlsx"),
        [&](int written, int total) {
            // The last report of every 500 rows comes again while the file is assembled.
            const bool again = !reports.isEmpty() && reports.last() == written && written == lastOfEvery;
            reports.append(written);
            return !(cancelWhenAllWritten && (again || written == total));
        },
        500);

    QCOMPARE(ended, result);
    QCOMPARE(temp.entries(), QStringList());
    QVERIFY(std::is_sorted(reports.begin(), reports.end()));
    if (refusedRow > 0) // no report claims the refused row (list row refusedRow) written
        QVERIFY2(reports.last() <= refusedRow, qPrintable(QString::number(reports.last())));
}

QTEST_GUILESS_MAIN(TestExportSheet)
#include "tst_export_sheet.moc"
