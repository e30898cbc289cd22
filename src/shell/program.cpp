#include "shell/program.h"

#include "core/app_state.h"
#include "shell/instance_guard.h"
#include "shell/main_window.h"
#include "ui/dialogs.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace fenlark {

void prepareApplication(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    app.setFont(captionFont(12));
}

int runProgram(QApplication &app, ShellServices services)
{
    // 1-3: the state of the run, the skin, the version.
    auto state = std::make_unique<AppState>();
    SkinLoader skin;
    state->versionText = QStringLiteral("1.0");

    // 4: one copy at a time.
    if (anotherCopyIsRunning(services.location, services.processes)) {
        services.dialogs.message(nullptr, QStringLiteral("  检测到本软件已运行，请勿重复运行！"), MessageIcon::Error,
                                 QStringLiteral("操作错误"));
        return 0;
    }

    // 5-6: the main window; the run ends when it closes.
    state->topRegionLevel = 2;
    MainWindow window(*state, services, skin);
    if (!window.initialise())
        return 0;
    window.show();
    return app.exec();
}

} // namespace fenlark
