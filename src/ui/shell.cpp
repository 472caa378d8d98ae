#include "ui/shell.h"

#include <filesystem>
#include <system_error>

#include <QCoreApplication>

#include "ui/about_dialog.h"
#include "ui/directory_chooser.h"
#include "ui/config_dialog.h"
#include "ui/info_dialog.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/text.h"

namespace corvane::ui {

Shell::Shell(KeyStore& store)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

    frmMain = std::make_unique<TfrmMain>(settings, store, host);
    TfrmMain* main = frmMain.get();
    host.attachWindow({[main](int panel, std::string_view text) { main->setStatusText(panel, text); },
                       [main](std::string_view text) { main->setWindowTitle(Q(text)); }, main,
                       [main](std::string_view what, std::uint64_t done, std::uint64_t total) {
                           main->showProgress(what, done, total);
                       },
                       [main] { main->hideProgress(); }});
    RunGuarded(host, [&] { frmMain->FormCreate(); });
    frmMain->show();

    chooser = new DirectoryChooser(settings, host, main);
    frmInfo = new TfrmInfo(main);
    frmMyMsg = new TfrmMyMsg(main);
    host.attachPrompt(frmMyMsg);
    frmAbout = new TfrmAbout(main);
    frmConfig = new TfrmConfig(settings, store, host, *main, *chooser);
    frmMain->attachDialogs(chooser, frmInfo, frmAbout, frmConfig);
    RunGuarded(host, [&] { frmConfig->FormCreate(); });
}

void Shell::openLevel(const std::string& path)
{
    RunGuarded(host, [&] {
        std::error_code ignored;
        const std::filesystem::path full = std::filesystem::absolute(path, ignored);
        frmMain->OpenLevel(full.empty() ? path : full.lexically_normal().string());
    });
}

Shell::~Shell()
{
    host.attachPrompt(nullptr);
    host.attachWindow({});
}

}  // namespace corvane::ui
