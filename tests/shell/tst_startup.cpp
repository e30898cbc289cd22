// Start-up refusals: a second copy, a missing, foreign or unreadable register; the guard's rule.
#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "shell/instance_guard.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace fenlark;

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void guardCountsSameNamedProcesses_data();
    void guardCountsSameNamedProcesses();
    void procListCountsLiveProcessesOfTheUser();
    void secondCopyIsRefused_data();
    void secondCopyIsRefused();
    void registerRefusals_data();
    void registerRefusals();
    void goodRegisterOpens();
};

void StartupTest::guardCountsSameNamedProcesses_data()
{
    QTest::addColumn<QString>("own");
    QTest::addColumn<QStringList>("running");
    QTest::addColumn<int>("count");
    QTest::newRow("only itself") << "fenlark" << QStringList{QStringLiteral("bash"), QStringLiteral("fenlark")} << 1;
    QTest::newRow("two copies") << "fenlark" << QStringList{QStringLiteral("fenlark"), QStringLiteral("fenlark")} << 2;
    QTest::newRow("ascii case ignored") << "Fenlark"
                                        << QStringList{QStringLiteral("FENLARK"), QStringLiteral("fenlark")} << 2;
    QTest::newRow("other name not counted")
        << "fenlark" << QStringList{QStringLiteral("fenlark"), QStringLiteral("fenlark-copy")} << 1;
    // Only A-Z are folded: a full-width letter stays as it is.
    QTest::newRow("non-ascii not folded")
        << "农户Ａ" << QStringList{QStringLiteral("农户ａ"), QStringLiteral("农户Ａ")} << 1;
}

void StartupTest::guardCountsSameNamedProcesses()
{
    QFETCH(QString, own);
    QFETCH(QStringList, running);
    QFETCH(int, count);
    QCOMPARE(countSameNamedProcesses(own, running), count);
}

namespace {

// One process directory of a made-up /proc: its status (state and real uid) and either a link
// to its executable or, when the link is unreadable, the kernel's short name.
void fakeProcess(const QDir &root, const QString &pid, char state, unsigned int uid, const QString &exe,
                 const QString &comm)
{
    QVERIFY(root.mkpath(pid));
    QFile status(root.filePath(pid + QStringLiteral("/status")));
    QVERIFY(status.open(QIODevice::WriteOnly));
    status.write(QStringLiteral("Name:\t%1\nUmask:\t0022\nState:\t%2 (x)\nTgid:\t%3\nPid:\t%3\n"
                                "Uid:\t%4\t%4\t%4\t%4\nGid:\t%4\t%4\t%4\t%4\n")
                     .arg(comm, QChar::fromLatin1(state), pid)
                     .arg(uid)
                     .toUtf8());
    if (!exe.isEmpty())
        QVERIFY(QFile::link(exe, root.filePath(pid + QStringLiteral("/exe"))));
    QFile name(root.filePath(pid + QStringLiteral("/comm")));
    QVERIFY(name.open(QIODevice::WriteOnly));
    name.write(comm.toUtf8() + '\n');
}

} // namespace

// A shared office PC: another account's copy and a copy that has exited but not been reaped
// (a zombie keeps its name) must not refuse the start; a live copy of the same user must.
void StartupTest::procListCountsLiveProcessesOfTheUser()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    const unsigned int me = 1000;
    fakeProcess(root, QStringLiteral("100"), 'S', me, QStringLiteral("/opt/fenlark/fenlark"),
                QStringLiteral("fenlark"));
    fakeProcess(root, QStringLiteral("101"), 'Z', me, QString(), QStringLiteral("fenlark"));
    fakeProcess(root, QStringLiteral("102"), 'S', 1001, QString(), QStringLiteral("fenlark"));
    fakeProcess(root, QStringLiteral("103"), 'R', me, QStringLiteral("/usr/bin/bash"), QStringLiteral("bash"));
    fakeProcess(root, QStringLiteral("104"), 'X', me, QString(), QStringLiteral("fenlark"));
    QVERIFY(root.mkpath(QStringLiteral("self")));
    const FixedProgramLocation location(dir.path(), QStringLiteral("fenlark"));

    const ProcProcessList processes(dir.path(), me);
    QCOMPARE(processes.executableNames(), (QStringList{QStringLiteral("fenlark"), QStringLiteral("bash")}));
    QVERIFY(!anotherCopyIsRunning(location, processes));

    // A second live copy of the same user, even one whose file was replaced since it started.
    fakeProcess(root, QStringLiteral("105"), 'S', me, QStringLiteral("/opt/fenlark/FENLARK (deleted)"),
                QStringLiteral("FENLARK"));
    QVERIFY(anotherCopyIsRunning(location, processes));
}

void StartupTest::secondCopyIsRefused_data()
{
    QTest::addColumn<QStringList>("running");
    QTest::addColumn<bool>("refused");
    QTest::newRow("another copy runs") << QStringList{QStringLiteral("fenlark"), QStringLiteral("FenLark")} << true;
    QTest::newRow("copy under another name")
        << QStringList{QStringLiteral("fenlark"), QStringLiteral("fenlark2")} << false;
}

void StartupTest::secondCopyIsRefused()
{
    QFETCH(QStringList, running);
    QFETCH(bool, refused);
    QTemporaryDir dir; // no data.mdb: a start that gets past the guard offers the first start
    ScriptedDialogs dialogs;
    bool firstStartOffered = false;
    dialogs.onNextModal([&](QDialog *window) {
        firstStartOffered = true;
        window->reject(); // quit
    });
    const FixedClock clock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
    const FixedProgramLocation location(dir.path(), QStringLiteral("fenlark"));
    RecordingSpreadsheetOpener opener;
    const FixedProcessList processes(running);
    const int code = runProgram(*qApp, ShellServices{dialogs, clock, location, opener, processes});
    QCOMPARE(code, 0);
    QCOMPARE(firstStartOffered, !refused);
    QCOMPARE(dialogs.shown().size(), size_t(refused ? 1 : 0));
    if (refused) {
        const auto &shown = dialogs.shown().front();
        QCOMPARE(shown.text, QStringLiteral("  检测到本软件已运行，请勿重复运行！"));
        QCOMPARE(shown.title, QStringLiteral("操作错误"));
        QCOMPARE(shown.icon, MessageIcon::Error);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void StartupTest::registerRefusals_data()
{
    QTest::addColumn<QByteArray>("content"); // a missing register is the first start's (tst_register_place)
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("not a database") << QByteArray(4096, 'x') << QStringLiteral("数据库文件无法打开,无法使用!");
    QTest::newRow("access register") << (QByteArray::fromRawData("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                                         QByteArray(2048, '\0'))
                                     << QStringLiteral("数据库文件是 Access 格式");
}

void StartupTest::registerRefusals()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, messageStart);
    QTemporaryDir dir;
    if (!content.isEmpty()) {
        QFile file(dir.filePath(QStringLiteral("data.mdb")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    AppState state;
    ScriptedDialogs dialogs;
    const FixedClock clock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
    const FixedProgramLocation location(dir.path(), QStringLiteral("fenlark"));
    RecordingSpreadsheetOpener opener;
    const FixedProcessList processes({});
    SkinLoader skin;
    MainWindow window(state, ShellServices{dialogs, clock, location, opener, processes}, skin);
    QVERIFY(!window.initialise());
    QCOMPARE(dialogs.shown().size(), size_t(1));
    QVERIFY2(dialogs.lastText().startsWith(messageStart), qPrintable(dialogs.lastText()));
    QCOMPARE(dialogs.shown().front().icon, MessageIcon::Error);
    if (!content.isEmpty()) {
        QVERIFY(dialogs.lastText().contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("data.mdb")))));
    }
    // Nothing is created beside the program (no logo, no register).
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
}

void StartupTest::goodRegisterOpens()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY2(dbtool::makeEmptyRegister(dir.filePath(QStringLiteral("data.mdb")), error), qPrintable(error));
    AppState state;
    state.versionText = QStringLiteral("1.0");
    ScriptedDialogs dialogs;
    const FixedClock clock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
    const FixedProgramLocation location(dir.path(), QStringLiteral("fenlark"));
    RecordingSpreadsheetOpener opener;
    const FixedProcessList processes({});
    SkinLoader skin;
    MainWindow window(state, ShellServices{dialogs, clock, location, opener, processes}, skin);
    QVERIFY(window.initialise());
    QVERIFY(dialogs.shown().empty());
    QVERIFY(window.connection().isOpen());
    QCOMPARE(window.windowTitle(), QStringLiteral("Fenlark v1.0"));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
