#pragma once

// A program folder and an installed program's user data folder (not made until needed), with
// the start-up's seams answered by tests: where the program looks for its register, what it
// asks, and the main window it opens.
#include "core/app_state.h"
#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "shell/skin_loader.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

enum class Layout { Portable, Installed };

struct ProgramPlace {
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("bin"));
    QString data = root.filePath(QStringLiteral("home/.local/share/fenlark"));
    std::unique_ptr<fenlark::FixedProgramLocation> location;
    fenlark::AppState state;
    fenlark::ScriptedDialogs dialogs;
    fenlark::FixedClock clock{QDateTime(QDate(2026, 5, 1), QTime(9, 0))};
    fenlark::RecordingSpreadsheetOpener opener;
    fenlark::FixedProcessList processes{{}};
    fenlark::SkinLoader skin;
    std::unique_ptr<fenlark::MainWindow> window;

    explicit ProgramPlace(Layout layout = Layout::Portable)
    {
        using fenlark::FixedProgramLocation;
        QDir().mkpath(program);
        location = layout == Layout::Installed
                       ? std::make_unique<FixedProgramLocation>(
                             FixedProgramLocation::installed(program, QStringLiteral("fenlark"), data))
                       : std::make_unique<FixedProgramLocation>(program, QStringLiteral("fenlark"));
        state.versionText = QStringLiteral("1.0");
        state.topRegionLevel = 2;
    }

    fenlark::ShellServices services() { return fenlark::ShellServices{dialogs, clock, *location, opener, processes}; }

    // An empty register, or a demo of five households, as data.mdb in folder.
    bool makeRegister(const QString &folder, bool demo = false)
    {
        QString error;
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/data.mdb");
        return demo ? fenlark::dbtool::makeDemoRegister(path, 5, error)
                    : fenlark::dbtool::makeEmptyRegister(path, error);
    }

    bool start()
    {
        window = std::make_unique<fenlark::MainWindow>(state, services(), skin);
        return window->initialise();
    }
};
