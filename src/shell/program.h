#pragma once

class QApplication;

namespace fenlark {

struct ShellServices;

// Start-up up to the running main window, then the run; returns the exit code.
int runProgram(QApplication &app, ShellServices services);

// Chinese button texts (是/否/确定) and a font that shows Chinese with Chinese glyphs.
void prepareApplication(QApplication &app);

} // namespace fenlark
