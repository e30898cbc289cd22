#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "core/version.h"
#include "export/spreadsheet_opener.h"
#include "printing/print_service.h"
#include "shell/program.h"
#include "shell/shell_services.h"
#include "ui/dialogs.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    // Answered before any window system is needed, so it works over ssh and in scripts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("fenlark %s\n", qPrintable(fenlark::fenlarkVersion()));
            return 0;
        }
    }
    QApplication app(argc, argv);
    fenlark::prepareApplication(app);
    fenlark::QtDialogs dialogs;
    const fenlark::SystemClock clock;
    const fenlark::RunningProgramLocation location;
    fenlark::DesktopSpreadsheetOpener opener;
    const fenlark::ProcProcessList processes;
    fenlark::PreviewPrintService printer;
    return fenlark::runProgram(app, fenlark::ShellServices{dialogs, clock, location, opener, processes, &printer});
}
