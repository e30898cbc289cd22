// The whole program's memory and the query that lists 100,000 households and more, on one demo
// register per run (VmHWM only ever grows, so each size gets a process of its own):
//
//     bench_program 1000000 [--export]
//
// The main window is built and initialised as the program does it, offscreen; then the query
// window lists every household whose health is 慢性疾病 (13 % of the register) into the main
// window's household list, three times; then 查找 with 全部 and every switch off lists the whole
// register, three times. With --export the whole register's list is then exported as 导出 does
// it (its progress window included), into a temporary folder removed at the end, timed in wall
// and CPU time with the peak resident set during the export alone. Prints the times, the medians
// and the resident sets.
#include "bench_register.h"

#include "core/process_list.h"
#include "core/program_dir.h"
#include "export/excel_application.h"
#include "export/poor_household_export.h"
#include "export/spreadsheet_opener.h"
#include "maintenance/page/startup_checks.h"
#include "registry/query_window.h"
#include "shell/grid_sheet_source.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include <sys/resource.h>

using namespace fenlark;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Starts the peak resident set (VmHWM) afresh, so the peak read after a step is that step's.
void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The program's dialogs with the export's real progress window (offscreen), but no message box
// that waits for a click: a message is kept and printed.
class BenchDialogs final : public Dialogs {
public:
    void message(QWidget *, const QString &text, MessageIcon, const QString &) override { messages << text; }
    bool askYesNo(QWidget *, const QString &, MessageIcon, const QString &, DefaultAnswer) override { return false; }
    int showModal(QDialog *) override { return 0; }
    std::unique_ptr<ProgressWindow> showProgress(QWidget *parent, const QString &text, int total) override
    {
        return QtDialogs().showProgress(parent, text, total);
    }
    QStringList messages;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication(app);
    const int households = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    const bool withExport = argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("--export");
    if (households <= 0) {
        std::fprintf(stderr, "usage: bench_program HOUSEHOLDS\n");
        return 2;
    }

    // The program folder: the demo register as its data.mdb.
    const QString folder = QStringLiteral("/tmp/fenlark-bench/program-%1").arg(households);
    QDir().mkpath(folder);
    const QString data = folder + QStringLiteral("/data.mdb");
    QFile::remove(data);
    if (!QFile::link(bench::demoRegister(households), data))
        qFatal("cannot link the register into %s", qPrintable(folder));

    const double before = bench::peakResidentMB();
    AppState state;
    state.versionText = QStringLiteral("1.0");
    state.topRegionLevel = 2;
    QtDialogs dialogs;
    FixedProgramLocation location(folder, QStringLiteral("fenlark"));
    RecordingSpreadsheetOpener opener;
    FixedProcessList processes{{}};
    SkinLoader skin;
    QElapsedTimer clock;
    clock.start();
    MainWindow window(state, ShellServices{dialogs, bench::benchClock(), location, opener, processes}, skin);
    if (!window.initialise())
        qFatal("the main window did not open the register");
    window.show();
    QCoreApplication::processEvents();
    const double openMs = double(clock.nsecsElapsed()) / 1e6;
    const double openPeak = bench::peakResidentMB();
    // The quick check and the day's backup run on their own thread after the first show; they
    // end before the queries are timed, so the figures are the query's alone.
    QCoreApplication::processEvents();
    if (window.startupChecks())
        window.startupChecks()->wait();

    EGrid &list = *window.controls().control<EGrid>(QStringLiteral("高级表格1"));
    Label &count = *window.controls().control<Label>(QStringLiteral("标签1"));
    clock.restart();
    QueryWindow query(state, window.connection(), list, count, bench::benchClock(), &window);
    const double queryWindowMs = double(clock.nsecsElapsed()) / 1e6;
    const auto choose = [&query](const char16_t *combo, const char16_t *text) {
        ComboBox &box = *query.controls().control<ComboBox>(QString::fromUtf16(combo));
        for (int i = 0; i < box.itemCount(); ++i) {
            if (box.itemText(i) == QString::fromUtf16(text))
                box.setCurrentIndex(i);
        }
    };
    choose(u"组合框1", u"全部");
    query.controls().control<CheckBox>(QStringLiteral("选择框9"))->setChecked(true);
    choose(u"组合框2", u"慢性疾病");
    const auto threeRuns = [&] {
        std::vector<double> runs;
        for (int run = 0; run < 3; ++run) {
            clock.restart();
            query.runQuery();
            QCoreApplication::processEvents(); // the list repaints with its new rows
            runs.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        return runs;
    };
    const std::vector<double> runs = threeRuns();
    const int chronicRows = list.rowCount() - 1;
    const double chronicPeak = bench::peakResidentMB();
    const double chronicResident = bench::residentMB();

    query.controls().control<CheckBox>(QStringLiteral("选择框9"))->setChecked(false);
    const std::vector<double> whole = threeRuns();
    const int wholeRows = list.rowCount() - 1;
    const double wholePeak = bench::peakResidentMB();

    double exportMs = -1;
    double exportCpu = -1;
    double exportPeak = -1;
    double exportStartResident = -1;
    qint64 exportBytes = -1;
    if (withExport) {
        // The workbook and libxlsxwriter's staging files go into a folder removed at the end.
        const QTemporaryDir scratch;
        const QByteArray previousTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(scratch.path()));
        const GridSheetSource source(list);
        ExcelApplication excel(opener, bench::benchClock());
        BenchDialogs answers;
        exportStartResident = bench::residentMB();
        resetPeakResident();
        const double cpuBefore = cpuSeconds();
        clock.restart();
        exportPoorHouseholdSheet(source, excel, answers, &window);
        exportMs = double(clock.nsecsElapsed()) / 1e6;
        exportCpu = cpuSeconds() - cpuBefore;
        exportPeak = bench::peakResidentMB();
        if (!excel.savedFiles().isEmpty())
            exportBytes = QFileInfo(excel.savedFiles().last()).size();
        for (const QString &message : answers.messages)
            std::printf("the export said: %s\n", qPrintable(message));
        excel.release();
        if (previousTemp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previousTemp);
    }

    std::printf("register: %d households (%s)\n", households, qPrintable(bench::demoRegister(households)));
    std::printf("before the main window:               VmHWM %6.0f MB\n", before);
    std::printf("main window open and shown: %8.1f ms  VmHWM %6.0f MB\n", openMs, openPeak);
    std::printf("query window opened:        %8.1f ms\n", queryWindowMs);
    std::printf("query listing %d rows: %.0f / %.0f / %.0f ms, median %.0f ms\n", chronicRows, runs[0], runs[1],
                runs[2], median(runs));
    std::printf("after the queries:                    VmHWM %6.0f MB  VmRSS %6.0f MB\n", chronicPeak, chronicResident);
    std::printf("whole register listed, %d rows: %.0f / %.0f / %.0f ms, median %.0f ms\n", wholeRows, whole[0],
                whole[1], whole[2], median(whole));
    std::printf("after the whole listing:              VmHWM %6.0f MB\n", wholePeak);
    if (withExport)
        std::printf("export of the whole list: %.0f ms wall, %.1f s CPU; resident %.0f MB before it, peak %.0f MB "
                    "during it; file %.1f MB\n",
                    exportMs, exportCpu, exportStartResident, exportPeak, double(exportBytes) / 1e6);
    return 0;
}
