// Where the register lives: beside the program, else (installed) in the user's data folder; the
// first start when there is none; the logo and the exports beside the register in use; demos
// that say they are demos.
#include "program_place_fixture.h"

#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "core/register_location.h"
#include "data/register_file.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "shell/first_start_window.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fenlark;

namespace {

enum class Where { Nowhere, BesideProgram, DataFolder, Both };

using Fixture = ProgramPlace;

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

QPushButton *button(QDialog *window, const QString &name)
{
    return window->findChild<QPushButton *>(name);
}

} // namespace

class RegisterPlaceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupOrder_data();
    void lookupOrder();
    void firstStartChoices_data();
    void firstStartChoices();
    void firstStartImportsWithProgress();
    void quittingTheFirstStartEndsWithZero();
    void readOnlyProgramFolderStaysUntouched();
    void exportsGoBesideTheRegister();
    void exportSaysWhereTheSheetIs();
    void demoSaysItIsADemo_data();
    void demoSaysItIsADemo();
};

void RegisterPlaceTest::lookupOrder_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("where");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("inDataFolder"); // the register used (or to be made) is in the data folder
    QTest::addColumn<int>("searched");      // how many places were looked at
    const int portable = int(Layout::Portable);
    const int installed = int(Layout::Installed);
    QTest::newRow("portable, beside") << portable << int(Where::BesideProgram) << true << false << 1;
    QTest::newRow("portable ignores the data folder") << portable << int(Where::DataFolder) << false << false << 1;
    QTest::newRow("portable, none") << portable << int(Where::Nowhere) << false << false << 1;
    QTest::newRow("installed, beside wins") << installed << int(Where::Both) << true << false << 1;
    QTest::newRow("installed, beside only") << installed << int(Where::BesideProgram) << true << false << 1;
    QTest::newRow("installed, data folder") << installed << int(Where::DataFolder) << true << true << 2;
    QTest::newRow("installed, none") << installed << int(Where::Nowhere) << false << true << 2;
}

void RegisterPlaceTest::lookupOrder()
{
    QFETCH(int, layout);
    QFETCH(int, where);
    QFETCH(bool, found);
    QFETCH(bool, inDataFolder);
    QFETCH(int, searched);
    Fixture f{Layout(layout)};
    if (where == int(Where::BesideProgram) || where == int(Where::Both))
        QVERIFY(f.makeRegister(f.program));
    if (where == int(Where::DataFolder) || where == int(Where::Both))
        QVERIFY(f.makeRegister(f.data));

    const RegisterLocation place = locateRegister(*f.location);
    QCOMPARE(place.found, found);
    QCOMPARE(place.folder, inDataFolder ? f.data : f.program);
    QCOMPARE(place.searched.size(), searched);
    QCOMPARE(place.searched.last(), place.path());

    // The start-up opens that very register, and the logo goes beside it.
    if (!found)
        return;
    QVERIFY(f.start());
    QCOMPARE(f.state.registerFolder, place.folder);
    QVERIFY(QFile::exists(place.folder + QStringLiteral("/logo.jpg")));
    QVERIFY(f.dialogs.shown().empty());
}

void RegisterPlaceTest::firstStartChoices_data()
{
    QTest::addColumn<int>("layout");
    // The button pressed: 按钮_新建, 按钮_导入 (of a file that is no register), 按钮_退出.
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("started");
    for (int layout : {int(Layout::Portable), int(Layout::Installed)}) {
        const char *tag = layout == int(Layout::Portable) ? "portable" : "installed";
        QTest::addRow("%s, create", tag) << layout << QStringLiteral("按钮_新建") << true;
        QTest::addRow("%s, import refused", tag) << layout << QStringLiteral("按钮_导入") << false;
        QTest::addRow("%s, quit", tag) << layout << QStringLiteral("按钮_退出") << false;
    }
}

void RegisterPlaceTest::firstStartChoices()
{
    QFETCH(int, layout);
    QFETCH(QString, choice);
    QFETCH(bool, started);
    Fixture f{Layout(layout)};
    const QString folder = layout == int(Layout::Installed) ? f.data : f.program;
    const QString notARegister = f.root.filePath(QStringLiteral("old.mdb"));
    {
        QFile file(notARegister);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }

    QString shownText;
    f.dialogs.onNextModal([&](QDialog *window) {
        QCOMPARE(window->objectName(), QStringLiteral("首次启动"));
        shownText = window->findChild<QLabel *>(QStringLiteral("标签_说明"))->text();
        if (choice == QStringLiteral("按钮_导入")) {
            // The file picker comes next; then the refusal, the window stays, and the clerk quits.
            f.dialogs.onNextModal([&](QDialog *picker) {
                auto *files = qobject_cast<QFileDialog *>(picker);
                QVERIFY(files);
                files->selectFile(notARegister);
                static_cast<QDialog *>(files)->accept(); // the picker's own check that the file exists
            });
            button(window, QStringLiteral("按钮_导入"))->click();
            QVERIFY(window->isVisible());
            button(window, QStringLiteral("按钮_退出"))->click();
            return;
        }
        button(window, choice)->click();
    });
    QCOMPARE(f.start(), started);

    // The window says it found nothing and names where it looked and where it would make one.
    QVERIFY2(shownText.startsWith(QStringLiteral("未发现数据库,无法使用!")), qPrintable(shownText));
    QVERIFY(shownText.contains(QDir::toNativeSeparators(folder)));
    QVERIFY(shownText.contains(QDir::toNativeSeparators(f.program + QStringLiteral("/data.mdb"))));

    if (started) {
        QVERIFY(QFile::exists(folder + QStringLiteral("/data.mdb")));
        QCOMPARE(f.state.registerFolder, folder);
        QVERIFY(f.window->connection().isOpen());
        QVERIFY(f.dialogs.shown().empty());
        return;
    }
    // Nothing made anywhere; a refused import said why.
    QVERIFY(!QFile::exists(folder + QStringLiteral("/data.mdb")));
    QCOMPARE(filesIn(f.program), QStringList());
    if (choice == QStringLiteral("按钮_导入")) {
        QCOMPARE(f.dialogs.shown().size(), size_t(1));
        QVERIFY2(f.dialogs.lastText().startsWith(QStringLiteral("导入失败")), qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.dialogs.shown().front().icon, MessageIcon::Error);
        QCOMPARE(filesIn(folder), QStringList());
    } else {
        QVERIFY(f.dialogs.shown().empty());
    }
}

void RegisterPlaceTest::firstStartImportsWithProgress()
{
    // The import itself is the tool's (tested there); here a stand-in that makes the register
    // and reports progress, to see the window show it and close once the register is there.
    Fixture f(Layout::Installed);
    const RegisterLocation place = locateRegister(*f.location);
    QVERIFY(!place.found);
    QStringList progressSeen;
    QString importedFrom;
    const RegisterImport import = [&](const QString &accessPath, const QString &newPath,
                                      const importer::ImportProgress &progress, QString &error) {
        importedFrom = accessPath;
        progress(QStringLiteral("成员信息"), 0, 2);
        progress(QStringLiteral("成员信息"), 2, 2);
        return createRegisterFile(newPath, error);
    };
    const QString old = f.root.filePath(QStringLiteral("旧/data.mdb"));
    QDir().mkpath(QFileInfo(old).absolutePath());
    {
        QFile oldFile(old);
        QVERIFY(oldFile.open(QIODevice::WriteOnly));
    }
    f.dialogs.onNextModal([&](QDialog *window) {
        f.dialogs.onNextModal([&](QDialog *picker) {
            qobject_cast<QFileDialog *>(picker)->selectFile(old);
            picker->accept();
        });
        auto *text = window->findChild<QLabel *>(QStringLiteral("标签_进度"));
        QObject::connect(window->findChild<QProgressBar *>(QStringLiteral("进度条1")), &QProgressBar::valueChanged,
                         window, [&] { progressSeen << text->text(); });
        button(window, QStringLiteral("按钮_导入"))->click();
    });
    QVERIFY(offerFirstStart(place, f.dialogs, nullptr, import));
    QCOMPARE(importedFrom, old);
    QVERIFY(QFile::exists(f.data + QStringLiteral("/data.mdb")));
    QVERIFY(!progressSeen.isEmpty());
    QCOMPARE(progressSeen.last(), QStringLiteral("正在导入 成员信息：2 / 2 行"));
    QVERIFY(f.dialogs.shown().empty());
}

void RegisterPlaceTest::quittingTheFirstStartEndsWithZero()
{
    Fixture f(Layout::Installed);
    bool offered = false;
    f.dialogs.onNextModal([&](QDialog *window) {
        offered = true;
        button(window, QStringLiteral("按钮_退出"))->click();
    });
    QCOMPARE(runProgram(*qApp, ShellServices{f.dialogs, f.clock, *f.location, f.opener, f.processes}), 0);
    QVERIFY(offered);
    QVERIFY(!QFileInfo::exists(f.data));
    QCOMPARE(filesIn(f.program), QStringList());
}

void RegisterPlaceTest::readOnlyProgramFolderStaysUntouched()
{
    // An installed program's folder may not be written (here also made read-only, which holds
    // for a user even where it does not for root): the logo goes beside the register in use.
    Fixture f(Layout::Installed);
    QVERIFY(f.makeRegister(f.data));
    QVERIFY(QFile::setPermissions(f.program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                                 QFile::ReadOther | QFile::ExeOther));
    const bool started = f.start();
    QFile::setPermissions(f.program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(started);
    QCOMPARE(filesIn(f.program), QStringList());
    QCOMPARE(filesIn(f.data), (QStringList{QStringLiteral("data.mdb"), QStringLiteral("logo.jpg")}));
    QCOMPARE(f.state.registerFolder, f.data);
}

void RegisterPlaceTest::exportsGoBesideTheRegister()
{
    Fixture f(Layout::Installed);
    QVERIFY(f.makeRegister(f.data));
    QVERIFY(f.start());

    // The main window's folder for exports is 导出 beside the register.
    ExcelApplication app(f.opener, f.clock);
    app.setExportFolder(f.state.registerFolder + QStringLiteral("/导出"));
    QVERIFY(app.start());
    ExcelWorkbook book;
    book.newWorkbook(app);
    book.setSheetName(QStringLiteral("贫农明细表"));
    QVERIFY(app.show());
    QCOMPARE(app.savedFiles().size(), 1);
    QCOMPARE(QFileInfo(app.savedFiles().first()).absolutePath(), f.data + QStringLiteral("/导出"));
    QCOMPARE(f.opener.opened(), app.savedFiles());

    // A folder that refuses new files (a file stands where 导出 would be): the user's documents.
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(f.root.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(f.root.filePath(QStringLiteral("home/.config"))));
    QFile blocker(f.root.filePath(QStringLiteral("blocked")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    app.setExportFolder(blocker.fileName() + QStringLiteral("/导出"));
    QVERIFY(app.start());
    book.newWorkbook(app);
    book.setSheetName(QStringLiteral("贫农明细表"));
    const bool shown = app.show();
    const QString documents = ExcelApplication::documentsExportFolder();
    qputenv("HOME", home);
    if (config.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
    QVERIFY(shown);
    QCOMPARE(documents, f.root.filePath(QStringLiteral("home/Documents/导出")));
    QCOMPARE(QFileInfo(app.savedFiles().last()).absolutePath(), documents);
}

void RegisterPlaceTest::exportSaysWhereTheSheetIs()
{
    Fixture f(Layout::Installed);
    QVERIFY(f.makeRegister(f.data));
    QVERIFY(f.start());
    // One household row in the list, as a page load would leave it.
    EGrid *list = f.window->controls().control<EGrid>(QStringLiteral("高级表格1"));
    QVERIFY(list->insertRow());
    QVERIFY(list->setCell(1, 1, EGrid::TextCell, QStringLiteral("张三")));
    f.window->onHouseholdToolBarClicked(5);

    QCOMPARE(f.opener.opened().size(), 1);
    const QString sheet = f.opener.opened().first();
    QCOMPARE(QFileInfo(sheet).absolutePath(), f.data + QStringLiteral("/导出"));
    QVERIFY(QFileInfo(sheet).size() > 0);
    QCOMPARE(f.dialogs.shown().size(), size_t(1));
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("已导出到：\n") + QDir::toNativeSeparators(sheet));
    QCOMPARE(f.dialogs.shown().front().icon, MessageIcon::None);
    QCOMPARE(filesIn(f.program), QStringList());
}

void RegisterPlaceTest::demoSaysItIsADemo_data()
{
    QTest::addColumn<bool>("demo");
    QTest::newRow("demo register") << true;
    QTest::newRow("office register") << false;
}

void RegisterPlaceTest::demoSaysItIsADemo()
{
    QFETCH(bool, demo);
    Fixture f(Layout::Portable);
    QVERIFY(f.makeRegister(f.program, demo));
    QVERIFY(f.start());
    QCOMPARE(f.state.demoRegister, demo);
    QCOMPARE(f.window->windowTitle(),
             demo ? QStringLiteral("Fenlark v1.0 - 演示数据") : QStringLiteral("Fenlark v1.0"));
}

QTEST_MAIN(RegisterPlaceTest)
#include "tst_register_place.moc"
