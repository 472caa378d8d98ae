#pragma once
// What the window's bench drivers share: the clock, a configuration folder of
// their own (so that nothing reaches the user's settings), the program started
// on settings of its own, finding a control by its object name, answering the
// dialogs of a transfer as someone in a hurry would, and loading a level as a
// double-click does.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QByteArray>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>

#include "settings/qt_key_store.h"
#include "ui/browser.h"
#include "ui/info_dialog.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/shell.h"

namespace corvane::bench {

using Clock = std::chrono::steady_clock;

// A control of a window, found by its object name.
template <typename Kind>
Kind* Named(QWidget& window, const char* name)
{
    return window.findChild<Kind*>(QString::fromLatin1(name));
}

inline double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The value below which `share` of the sorted values lie.
inline double Percentile(const std::vector<double>& sorted, double share)
{
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(static_cast<double>(sorted.size()) * share))];
}

// A configuration folder for one run. Made before the QApplication, so that
// Qt and the program find their settings there.
class PrivateConfig {
public:
    PrivateConfig()
    {
        if (folder_.isValid())
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder_.path()));
    }
    bool valid() const { return folder_.isValid(); }

    // Writes the settings file as an earlier run would have left it and
    // returns its path; "" when it cannot be written.
    std::string writeSettings(const QByteArray& src, const QByteArray& targ) const
    {
        const QString path = folder_.path() + QStringLiteral("/Corvane.conf");
        QFile ini(path);
        if (!ini.open(QIODevice::WriteOnly))
            return {};
        ini.write("[General]\nSrcPath=" + src + "\nTargPath=" + targ + "\nPakPath=\nPellarkPath=\n");
        return path.toStdString();
    }

private:
    QTemporaryDir folder_;
};


// Answers one dialog of a transfer: Continue on the log, Yes to All (or Yes)
// on a prompt, the first button of a message box (shown on standard error);
// any other dialog is closed.
inline void AnswerTransferDialog(QDialog& dialog)
{
    if (auto* info = qobject_cast<ui::TfrmInfo*>(&dialog)) {
        Named<QPushButton>(*info, "bbtnOkay")->click();
    } else if (auto* prompt = qobject_cast<ui::TfrmMyMsg*>(&dialog)) {
        QPushButton* yesToAll = Named<QPushButton>(*prompt, "bbtnYesAll");
        (yesToAll->isVisible() ? yesToAll : Named<QPushButton>(*prompt, "bbtnYes"))->click();
    } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        std::fprintf(stderr, "message box: %s: %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
        box->buttons().front()->click();
    } else {
        dialog.reject();
    }
}

// What a driver's main begins with: settings in a temporary folder of its
// own (so that nothing of the user's is read or written), the application,
// LEVEL and TARGET from the first two arguments, and the program started
// with the level's folder as its source folder and TARGET as its target.
class Driver {
public:
    Driver(int& argc, char** argv, const char* usage) : configHome_(SetConfigHome(config_)), app_(argc, argv)
    {
        args = QApplication::arguments();
        if (args.size() < 3) {
            std::fprintf(stderr, "usage: %s\n", usage);
            status_ = 2;
            return;
        }
        level = QFileInfo(args[1]);
        target = QDir::cleanPath(QFileInfo(args[2]).absoluteFilePath()).toStdString();
        const QString settings = config_.path() + QStringLiteral("/Corvane.conf");
        QFile ini(settings);
        if (!configHome_ || !ini.open(QIODevice::WriteOnly)) {
            status_ = 1;
            return;
        }
        ini.write("[General]\nSrcPath=" + level.absolutePath().toLocal8Bit() + "\nTargPath=" +
                  QByteArray::fromStdString(target) + "\nPakPath=\nPellarkPath=\n");
        ini.close();
        store_ = std::make_unique<QtKeyStore>(settings.toStdString());
        shell_ = std::make_unique<ui::Shell>(*store_);
    }

    QStringList args;
    QFileInfo level;
    std::string target;

    // 0 when the program runs; 2 for missing arguments, 1 when the settings could not be written.
    int status() const { return status_; }
    QApplication& app() { return app_; }
    ui::Shell& shell() { return *shell_; }
    ui::TfrmMain& window() { return *shell_->frmMain; }

private:
    static bool SetConfigHome(const QTemporaryDir& folder)
    {
        return folder.isValid() && qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    }

    QTemporaryDir config_;
    bool configHome_;  // set before the application starts
    QApplication app_;
    int status_ = 0;
    std::unique_ptr<QtKeyStore> store_;
    std::unique_ptr<ui::Shell> shell_;
};

// Loads the level as a double-click in the browser does, presses "Use this"
// and ticks "Include sky"; false (with a message) when the level was not loaded.
inline bool LoadLevelAndUseTarget(ui::TfrmMain& w, const QFileInfo& level)
{
    auto* files = Named<ui::FileList>(w, "listFiles");
    for (int row = 0; row < files->count(); ++row) {
        if (ui::FileList::EntryFileName(*files->item(row)) == level.fileName().toStdString())
            files->setCurrentRow(row);
    }
    w.listFilesDblClick();
    if (w.mode() != ui::WindowMode::MapLoaded) {
        std::fprintf(stderr, "the level was not loaded\n");
        return false;
    }
    Named<QPushButton>(w, "btnUseCurrent")->click();
    Named<QCheckBox>(w, "chbxSky")->click();
    QApplication::processEvents();
    return true;
}

}  // namespace corvane::bench

namespace bench = corvane::bench;
