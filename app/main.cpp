// Tiermark: the program starts by loading its main window.
#include <QApplication>
#include <QThread>
#include <QTimer>

#include <cstdio>

#include "app/form_registry.h"
#include "app/instance_guard.h"
#include "app/main_window.h"
#include "app/platform.h"
#include "app/tiermark.h"
#include "common/utf.h"
#include "stddb/jet_workspace.h"
#include "stddb/qt_settings_store.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/program_icon.h"

namespace {

// A later start: the user's running Tiermark comes to the front instead, and this one ends.
int giveWay(app::InstanceGuard& guard, ui::Dialogs& dialogs) {
    const auto wait = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
    if (app::handOverToHolder(guard, 10, 200, wait) == app::HandOver::Answered) {
        std::fprintf(stderr, "Tiermark: the running Tiermark was brought to the front\n");
        return 0;
    }
    ui::showMessage(dialogs, nullptr, app::noAnswerMessage());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tiermark"));
    ui::useProgramIcon();
    ui::QtDialogs dialogs;

    // One Tiermark per user: two would type into the same AutoCAD LT and cancel each other's pending steps.
    std::unique_ptr<app::InstanceGuard> guard;
    if (app::takesPartInOneInstance(QGuiApplication::platformName().toStdString())) {
        guard = app::claimInstance();
        if (!guard->holdsClaim()) {
            return giveWay(*guard, dialogs);
        }
    }

    app::PlatformBackend backend = app::makePlatformBackend();
    stddb::JetWorkspace workspace;
    stddb::QtSettingsStore settings;
    app::Tiermark program(
        core::Services{*backend.windows, workspace, settings, dialogs, backend.drawing.get()});

    app::Form1& form1 = program.forms().form1();
    if (guard) {
        guard->answerRequests([&form1, holder = guard.get()] {
            holder->bringToFront(form1);
            std::fprintf(stderr, "Tiermark: brought to the front at another start's request\n");
            std::fflush(stderr);
        });
    }
    form1.Form_Load();
    form1.show();

    // A settings file that could not be used at all: the program runs as if nothing were registered, and
    // says so once its window is up.
    const std::u16string settingsProblem = settings.openingProblem();
    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
    if (!settingsProblem.empty()) {
        if (offscreen) {
            std::fprintf(stderr, "%s\n", ui::displayText(settingsProblem).toStdString().c_str());
        } else {
            QTimer::singleShot(0, &form1, [&] { ui::showMessage(dialogs, &form1, settingsProblem); });
        }
    }

    if (offscreen) {
        // Nobody can see or use an offscreen window: say what it shows and end once it has been shown.
        std::printf("Tiermark ran offscreen (no display). %s\n", form1.windowTitle().toStdString().c_str());
        std::printf("対象図面: %d\n", form1.cmbfilename->listCount());
        for (int i = 0; i < form1.cmbfilename->listCount(); ++i) {
            std::printf("  %s\n", tiermark::toUtf8(form1.cmbfilename->itemText(i)).c_str());
        }
        std::printf("コメント: %s\n", form1.Label3->text().toStdString().c_str());
        // At once, not at the end: whoever reads the output through a pipe (the start-up benchmark) learns
        // when the window was shown.
        std::fflush(stdout);
        QTimer::singleShot(0, &application, [&form1] { form1.close(); });
    }
    return QApplication::exec();
}
