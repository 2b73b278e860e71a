#include "shell/qt/program.h"

#include <QApplication>

#include "platform/smb.h"
#include "shell/operation_log.h"
#include "shell/qt/detail_dialog.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/icons.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_settings_store.h"
#include "shell/qt/qt_views.h"
#include "shell/qt/splash_widget.h"
#include "shell/qt/text.h"
#include "shell/startup.h"

namespace dv::qt {

void DialogMessageSink::Show(const platform::Message& message) {
    DialogIcon icon = DialogIcon::kNone;
    if (message.icon == platform::MessageIcon::kInformation) icon = DialogIcon::kInformation;
    if (message.icon == platform::MessageIcon::kCritical) icon = DialogIcon::kCritical;
    QString text = ToQ(message.text);
    text.replace("\r\n", "\n");
    dialogs_.Message(parent_, ToQ(message.title), text, icon);
}

bool CheckLaunch(int argc, const char* const* argv) {
    InitLogPath();
    if (argc == 2 && LaunchAllowed(CommandLineFrom(argc, argv))) return true;
    ShowRefusal();
    return false;
}

DesktopProgram::DesktopProgram(const ViewRegistry& views, EngineHooks hooks, Dialogs& dialogs,
                               const QtViewRegistry& qt_views)
    : window_(std::make_unique<QtMainWindow>(dialogs, qt_views,
                                             BuildMainTables(views.Declarations()).menu_items)),
      controller_(std::make_unique<MainController>(views, std::move(hooks), *window_, *window_)),
      splash_(std::make_unique<SplashWidget>(controller_->Splash())) {
    detail_host_ = std::make_unique<QtDetailHost>(*controller_, dialogs, window_.get());
    controller_->SetDetailHost(detail_host_.get());
    window_->SetDoors(controller_.get());
    window_->SetSplash(splash_.get());
    // When the dealer's server refuses every other login, the user is asked (once a session).
    platform::SetSmbLoginPrompt([&dialogs](const platform::SmbLoginQuestion& question,
                                           platform::SmbLogin& login) {
        LoginAnswer answer{ToQ(question.user), "", ToQ(question.domain)};
        if (!dialogs.AskLogin(
                nullptr, {ToQ(question.server), ToQ(question.share), ToQ(question.notes)}, answer))
            return false;
        login.user = answer.user.toStdString();
        login.password = answer.password.toStdString();
        login.domain = answer.domain.toStdString();
        return true;
    });
}

DesktopProgram::~DesktopProgram() {
    platform::SetSmbLoginPrompt(nullptr);
    // The widgets go before the models they show: the view forms and the splash, then the
    // controller with its views and splash model, then the main window it drove.
    window_->SetDoors(nullptr);
    window_->SetSplash(nullptr);
    window_->DropAllForms();
    splash_.reset();
    controller_.reset();
    detail_host_.reset();
    window_.reset();
}

void DesktopProgram::Start() {
    BusyScope busy(*splash_);
    controller_->Start();
}

int RunDashvane(int argc, char** argv, const ViewRegistry& views, const QtViewRegistry& qt_views) {
    // Only the program's name reaches the toolkit: the command line is the launch check's.
    int qt_argc = 1;
    char* qt_argv[] = {argv[0], nullptr};
    QApplication app(qt_argc, qt_argv);
    QCoreApplication::setOrganizationName(ToQ(kSettingsApplication));
    QCoreApplication::setApplicationName(ToQ(kSettingsApplication));
    QApplication::setWindowIcon(AppIcon());

    QtDialogs dialogs;
    auto previous = platform::SetMessageSink(std::make_shared<DialogMessageSink>(dialogs));
    int status = 0;
    // The user's stored settings, the ones dashvane-dump reads too.
    const std::unique_ptr<SettingsStore> settings = MakeUserSettingsStore();
    ScopedSettingsStore use_settings(*settings);
    if (CheckLaunch(argc, argv)) {
        DesktopProgram program(views, DefaultEngineHooks(), dialogs, qt_views);
        QObject::connect(&app, &QCoreApplication::aboutToQuit,
                         [&program] { program.controller().Unload(); });
        program.Start();
        status = app.exec();
    }
    platform::SetMessageSink(previous);
    return status;
}

}  // namespace dv::qt
