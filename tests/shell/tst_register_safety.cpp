// The register is never used silently when it is damaged, empty, incomplete or read-only, and
// the maintenance page backs it up and restores it through the main window.
#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "data/statement.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "maintenance/backups.h"
#include "maintenance/page/maintenance_page.h"
#include "maintenance/page/startup_checks.h"
#include "maintenance/register_copy.h"
#include "shell/main_window.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/page_control.h"
#include "ui/tree_box.h"

#include "maintenance/maintenance_fixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fenlark;

namespace {

const QDateTime kMorning(QDate(2026, 5, 1), QTime(9, 0, 0));

struct Program {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.mdb"));
    AppState state;
    ScriptedDialogs dialogs;
    FixedClock clock{kMorning};
    FixedProgramLocation location{dir.path(), QStringLiteral("fenlark")};
    RecordingSpreadsheetOpener opener;
    FixedProcessList processes{{}};
    SkinLoader skin;
    std::unique_ptr<MainWindow> window;

    bool makeDemo(int households = 40)
    {
        QString error;
        return dbtool::makeDemoRegister(path, households, error);
    }
    bool start()
    {
        state.versionText = QStringLiteral("1.0");
        state.topRegionLevel = 2;
        window = std::make_unique<MainWindow>(state, ShellServices{dialogs, clock, location, opener, processes}, skin);
        return window->initialise();
    }
    // The work after the first show, run to its end.
    void runStartupChecks()
    {
        window->startBackgroundChecks();
        window->startupChecks()->wait();
    }
    qint64 count(const QString &sql)
    {
        Statement query(window->connection(), sql);
        return query.step() ? query.int64(0) : -1;
    }
};

} // namespace

class RegisterSafetyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startRefusesEmptyOrIncompleteFiles_data();
    void startRefusesEmptyOrIncompleteFiles();
    void readOnlyRegisterIsSaidAndBrowsable();
    void startupMakesTheDailyBackupQuietly();
    void damagedRegisterWarnsAndNamesTheNewestBackup();
    void failedBackupIsToldOnce();
    void missingIndexesAreBuiltWithProgress();
    void outdatedIndexesAreBuiltAgain();
    void startUpNamesTheCardIndexBuildInItsProgress();
    void readErrorInTheListIsToldOnce();
    void pageBacksUpAndRestores();
};

void RegisterSafetyTest::startRefusesEmptyOrIncompleteFiles_data()
{
    QTest::addColumn<QString>("sql"); // run on a demo register; "empty" truncates it to 0 bytes
    QTest::addColumn<QString>("messageStart");
    QTest::addColumn<QString>("missing");
    QTest::newRow("0 bytes") << "empty"
                             << "数据库文件是空的(0 字节),无法使用!" << QString();
    QTest::newRow("missing table") << "DROP TABLE 年份管理"
                                   << "数据库文件缺少必需的表或列,无法使用!"
                                   << "缺少表 年份管理";
    QTest::newRow("missing column") << "ALTER TABLE 成员信息 DROP COLUMN 标签"
                                    << "数据库文件缺少必需的表或列,无法使用!"
                                    << "成员信息 缺少列 标签";
}

void RegisterSafetyTest::startRefusesEmptyOrIncompleteFiles()
{
    QFETCH(QString, sql);
    QFETCH(QString, messageStart);
    QFETCH(QString, missing);
    Program p;
    QVERIFY(p.makeDemo());
    if (sql == QStringLiteral("empty")) {
        QFile file(p.path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    } else {
        DBConnection db;
        QVERIFY(db.connectAccess(p.path, QString()));
        // What refers to 标签 goes first, or the store will not drop the column.
        QVERIFY(execScript(db, QStringLiteral("DROP INDEX IF EXISTS 成员信息_标签; DROP TRIGGER 标签汇总_添加; "
                                              "DROP TRIGGER 标签汇总_删除; DROP TRIGGER 标签汇总_修改;") +
                                   sql));
    }
    QVERIFY(!p.start());
    QCOMPARE(p.dialogs.shown().size(), size_t(1));
    const QString text = p.dialogs.lastText();
    QVERIFY2(text.startsWith(messageStart), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(p.path)), qPrintable(text));
    QVERIFY2(text.contains(missing), qPrintable(text));
    QCOMPARE(p.dialogs.shown().front().icon, MessageIcon::Error);
    QVERIFY(!p.window->connection().isOpen());
}

void RegisterSafetyTest::readOnlyRegisterIsSaidAndBrowsable()
{
    Program p;
    QVERIFY(p.makeDemo());
    QVERIFY(QFile::setPermissions(p.path, QFile::ReadOwner | QFile::ReadUser));
    if (QFileInfo(p.path).isWritable())
        QSKIP("running with rights that write any file");
    QVERIFY(p.start());
    QCOMPARE(p.dialogs.shown().size(), size_t(1));
    QVERIFY2(p.dialogs.lastText().startsWith(QStringLiteral("数据库文件是只读的")), qPrintable(p.dialogs.lastText()));
    QVERIFY(p.dialogs.lastText().contains(QDir::toNativeSeparators(p.path)));
    // Browsing works: the tree and the household count read the file.
    QVERIFY(p.window->controls().control<TreeBox>(QStringLiteral("树型框1"))->itemCount() > 0);
    QCOMPARE(p.count(QStringLiteral("SELECT count(*) FROM 成员信息")), 40);
}

void RegisterSafetyTest::startupMakesTheDailyBackupQuietly()
{
    Program p;
    QVERIFY(p.makeDemo());
    QVERIFY(p.start());
    p.runStartupChecks();
    QVERIFY2(p.dialogs.shown().empty(), qPrintable(p.dialogs.lastText()));
    const QList<maintenance::BackupFile> backups = maintenance::listBackups(p.path);
    QCOMPARE(backups.size(), 1);
    QCOMPARE(backups.first().madeAt, kMorning);
    QCOMPARE(QFileInfo(backups.first().path).absolutePath(), QDir(p.dir.path()).filePath(QStringLiteral("备份")));
}

void RegisterSafetyTest::damagedRegisterWarnsAndNamesTheNewestBackup()
{
    Program p;
    QVERIFY(p.makeDemo(600));
    QString made, error;
    QVERIFY(maintenance::makeBackup(p.path, kMorning.addDays(-2), made, error));
    QVERIFY(maintenance::makeBackup(p.path, kMorning.addDays(-1), made, error));
    QVERIFY(damageMiddlePage(p.path));
    QVERIFY(p.start());
    p.runStartupChecks();
    QCOMPARE(p.dialogs.shown().size(), size_t(1));
    const QString text = p.dialogs.lastText();
    QVERIFY2(text.startsWith(QStringLiteral("数据库文件已损坏")), qPrintable(text));
    QVERIFY(text.contains(QDir::toNativeSeparators(p.path)));
    QVERIFY2(text.contains(QStringLiteral("2026-04-30 09:00:00")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("从备份恢复")));
    // The damaged file is not backed up over the good backups.
    QCOMPARE(maintenance::listBackups(p.path).size(), 2);
}

void RegisterSafetyTest::failedBackupIsToldOnce()
{
    Program p;
    QVERIFY(p.makeDemo());
    QFile blocker(maintenance::backupFolder(p.path)); // a file where the folder should be
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(p.start());
    p.runStartupChecks();
    QCOMPARE(p.dialogs.shown().size(), size_t(1));
    QVERIFY2(p.dialogs.lastText().startsWith(QStringLiteral("自动备份没有成功")), qPrintable(p.dialogs.lastText()));
    QVERIFY(p.dialogs.lastText().contains(QStringLiteral("原因：")));
}

void RegisterSafetyTest::missingIndexesAreBuiltWithProgress()
{
    Program p;
    QVERIFY(p.makeDemo(2000));
    {
        DBConnection db;
        QVERIFY(db.connectAccess(p.path, QString()));
        QVERIFY(execScript(db, QStringLiteral("DROP INDEX 成员信息_户主; DROP INDEX 成员信息_标签;")));
    }
    QList<QPair<int, int>> calls;
    DBConnection db;
    db.setIndexBuildProgress([&](int built, int total, const QString &step) {
        QCOMPARE(step, DBConnection::indexStepText());
        calls.append({built, total});
    });
    QVERIFY(db.connectAccess(p.path, QString()));
    QVERIFY(calls.size() >= 3);
    QCOMPARE(calls.first(), qMakePair(0, 2));
    QCOMPARE(calls.last(), qMakePair(2, 2));
    db.close();
    // Every index there: no progress at all.
    calls.clear();
    QVERIFY(db.connectAccess(p.path, QString()));
    QVERIFY(calls.isEmpty());
}

// A register whose indexes were made by an earlier build under today's names, with other
// definitions (a switch's index without its column, as before the queries read the value from
// it): the queries would go on paying for the old shape, so the open makes them again.
void RegisterSafetyTest::outdatedIndexesAreBuiltAgain()
{
    Program p;
    QVERIFY(p.makeDemo(2000));
    const auto definitions = [](DBConnection &db) {
        QStringList rows;
        Statement query(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT "
                                           "NULL ORDER BY name"));
        while (query.step())
            rows << query.text(0) + u'|' + query.text(1);
        return rows;
    };
    QStringList current;
    {
        DBConnection db;
        QVERIFY(db.connectAccess(p.path, QString()));
        current = definitions(db);
        QVERIFY(execScript(db, QStringLiteral("DROP INDEX 成员信息_是否党员; DROP INDEX 成员信息_健康状况;"
                                              "CREATE INDEX 成员信息_是否党员 ON 成员信息 ((IFNULL(是否党员, 0) <> 0));"
                                              "CREATE INDEX 成员信息_健康状况 ON 成员信息 (IFNULL(健康状况, ''));")));
        QVERIFY(definitions(db) != current);
    }
    QList<QPair<int, int>> calls;
    DBConnection db;
    db.setIndexBuildProgress([&](int built, int total, const QString &) { calls.append({built, total}); });
    QVERIFY(db.connectAccess(p.path, QString()));
    QVERIFY(!calls.isEmpty());
    QCOMPARE(calls.first(), qMakePair(0, 2));
    QCOMPARE(calls.last(), qMakePair(2, 2));
    QCOMPARE(definitions(db), current);
}

// Every label the progress dialogs of the start-up showed while events were handled.
class ProgressLabels : public QObject {
public:
    QStringList labels;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (const auto *dialog = qobject_cast<QProgressDialog *>(watched)) {
            if (dialog->isVisible() && !labels.contains(dialog->labelText()))
                labels << dialog->labelText();
        }
        return QObject::eventFilter(watched, event);
    }
};

// The first start on a register from before the member-card index shows its build, each step
// named, instead of a window that does not come for a minute.
void RegisterSafetyTest::startUpNamesTheCardIndexBuildInItsProgress()
{
    Program p;
    QVERIFY(p.makeDemo(200));
    {
        DBConnection db;
        QVERIFY(db.connectAccess(p.path, QString()));
        QVERIFY(execScript(db, QStringLiteral("DROP TABLE 成员身份证; DROP TABLE 成员姓名检索;")));
    }
    ProgressLabels seen;
    qApp->installEventFilter(&seen);
    const bool started = p.start();
    qApp->removeEventFilter(&seen);
    QVERIFY(started);
    QCOMPARE(seen.labels, (QStringList{QStringLiteral("正在建立身份证索引…"), QStringLiteral("正在建立姓名检索…")}));
    Statement indexed(p.window->connection(), QStringLiteral("SELECT count(DISTINCT 户id) FROM 成员身份证"));
    QVERIFY(indexed.step());
    QCOMPARE(indexed.int64(0), 200);
}

void RegisterSafetyTest::readErrorInTheListIsToldOnce()
{
    Program p;
    QVERIFY(p.makeDemo(3000));
    // A page of households only: the start-up still reads the units, a list meets the damage.
    QVERIFY(damageHouseholdPage(p.path));
    QVERIFY(p.start());
    p.dialogs.clear();
    // Every unit's list in turn, as the clerk would open them.
    TreeBox *tree = p.window->controls().control<TreeBox>(QStringLiteral("树型框1"));
    p.window->onTopToolBarClicked(2);
    // Over all years, so the damaged newest households are on some village's first page.
    auto *years = p.window->controls().control<ComboBox>(QStringLiteral("组合框1"));
    years->setCurrentIndex(years->itemCount() - 1);
    for (int i = 0; i < tree->itemCount(); ++i)
        tree->select(i);
    QTest::qWait(50);
    // Damage met while reading is said once, however many lists met it.
    QTRY_COMPARE(p.dialogs.shown().size(), size_t(1));
    QVERIFY2(p.dialogs.lastText().startsWith(QStringLiteral("读取数据库时出错")), qPrintable(p.dialogs.lastText()));
    QVERIFY(p.dialogs.lastText().contains(QDir::toNativeSeparators(p.path)));
}

void RegisterSafetyTest::pageBacksUpAndRestores()
{
    Program p;
    QVERIFY(p.makeDemo());
    QVERIFY(p.start());
    p.window->onTopToolBarClicked(6);
    QCOMPARE(p.window->controls().control<PageControl>(QStringLiteral("高级选择夹1"))->currentPage(), 3);
    MaintenancePage *page = p.window->maintenancePage();
    QVERIFY(page);
    QCOMPARE(page->backupList()->rowCount(), 1);

    // 立即备份: one backup listed, with its households.
    page->findChild<QPushButton *>(QStringLiteral("按钮_立即备份"))->click();
    page->waitForWork();
    QCOMPARE(page->backupList()->rowCount(), 2);
    QCOMPARE(page->backupList()->cellText(1, 0), QStringLiteral("2026-05-01"));
    QCOMPARE(page->backupList()->cellText(1, 1), QStringLiteral("09:00:00"));
    QTRY_COMPARE(page->backupList()->cellText(1, 3), QStringLiteral("40"));

    // A household saved after the backup.
    QVERIFY(execScript(p.window->connection(),
                       QStringLiteral("INSERT INTO 成员信息 (录入年份, 户主, 所属管辖) VALUES (2026, '后来户', 'x')")));
    p.dialogs.clear();

    // Without a chosen backup: said, nothing done.
    page->backupList()->setCursorCell(-1, 0);
    page->restoreChosen();
    QCOMPARE(p.dialogs.lastText(), QStringLiteral("请先在备份列表中选择一个备份。"));
    // Answered No: nothing happens.
    page->backupList()->setCursorCell(1, 0);
    p.dialogs.answerNext(false);
    page->restoreChosen();
    QCOMPARE(p.count(QStringLiteral("SELECT count(*) FROM 成员信息")), 41);
    const auto &question = p.dialogs.shown().back();
    QVERIFY(question.question);
    QCOMPARE(question.defaultAnswer, DefaultAnswer::No);
    QVERIFY2(question.text.contains(QStringLiteral("2026-05-01 09:00:00")), qPrintable(question.text));

    // Yes: the register is the backup again, reloaded, and the replaced one is kept.
    p.clock.set(kMorning.addSecs(600));
    p.dialogs.answerNext(true);
    page->restoreChosen();
    QVERIFY2(p.dialogs.lastText().startsWith(QStringLiteral("  恢复完成！")), qPrintable(p.dialogs.lastText()));
    QVERIFY(p.window->connection().isOpen());
    QCOMPARE(p.count(QStringLiteral("SELECT count(*) FROM 成员信息")), 40);
    QCOMPARE(p.count(QStringLiteral("SELECT count(*) FROM 成员信息 WHERE 户主 = '后来户'")), 0);
    QCOMPARE(maintenance::listBackups(p.path).size(), 2);
    QCOMPARE(maintenance::householdCount(maintenance::listBackups(p.path).first().path), 41);
    QCOMPARE(page->backupList()->rowCount(), 3);
    QVERIFY(p.window->controls().control<TreeBox>(QStringLiteral("树型框1"))->itemCount() > 0);
    QCOMPARE(p.window->controls().control<EGrid>(QStringLiteral("高级表格1"))->rowCount(), 1);

    // 检查数据 on the restored register: nothing found.
    page->checkNow();
    page->waitForWork();
    QCOMPARE(page->statusLabel()->text(), QStringLiteral("检查完成：未发现问题"));
    QCOMPARE(page->findingList()->count(), 0);
}

QTEST_MAIN(RegisterSafetyTest)
#include "tst_register_safety.moc"
