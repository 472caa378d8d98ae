#pragma once
// The application shell: creates the six windows once, in their order, with
// the settings record and the desktop Host they share.

#include <memory>

#include "settings/key_store.h"
#include "settings/settings.h"
#include "ui/desktop_host.h"

namespace corvane::ui {

class DirectoryChooser;
class TfrmAbout;
class TfrmConfig;
class TfrmInfo;
class TfrmMain;
class TfrmMyMsg;

class Shell {
public:
    // Creates the windows: the main window (shown at once), the directory
    // chooser, the Information dialog, the prompt, About and Configure. The
    // Configure dialog may ask for the default paths before this returns.
    explicit Shell(KeyStore& store);
    ~Shell();
    // Loads the level named on the command line (as "Open with" passes it),
    // as File > Open would. A relative path is taken from the current folder.
    void openLevel(const std::string& path);

    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    Settings settings;
    DesktopHost host;
    std::unique_ptr<TfrmMain> frmMain;
    // Owned by the main window.
    DirectoryChooser* chooser = nullptr;
    TfrmInfo* frmInfo = nullptr;
    TfrmMyMsg* frmMyMsg = nullptr;
    TfrmAbout* frmAbout = nullptr;
    TfrmConfig* frmConfig = nullptr;
};

}  // namespace corvane::ui
