#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "export/spreadsheet_opener.h"
#include "printing/print_service.h"
#include "shell/program.h"
#include "shell/shell_services.h"
#include "ui/dialogs.h"

#include <QApplication>

int main(int argc, char **argv)
{
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
