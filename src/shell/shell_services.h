#pragma once

namespace fenlark {

class Clock;
class Dialogs;
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
};

} // namespace fenlark
