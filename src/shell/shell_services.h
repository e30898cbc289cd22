#pragma once

namespace fenlark {

class Clock;
class Dialogs;
class PrintService;
class ProcessList;
class ProgramLocation;
class SpreadsheetOpener;

// The seams the shell hands down: real ones in the program, doubles in tests.
struct ShellServices {
    Dialogs &dialogs;
    const Clock &clock;
    const ProgramLocation &location;
    SpreadsheetOpener &spreadsheetOpener;
    const ProcessList &processes;
    // Printing; none: the system's print preview and dialog.
    PrintService *printer = nullptr;
};

} // namespace fenlark
