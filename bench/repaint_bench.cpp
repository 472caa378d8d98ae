// How long the desktop window goes without painting while it transfers a
// level: runs the real main window (on whatever Qt platform is set, normally
// offscreen), loads the level, presses "Use this", ticks "Include sky" and
// presses "Transfer", answering every dialog as it appears. Each paint of the
// main window is timed from the press until the transfer log appears.
//
//   corvane_repaint_bench LEVEL.map TARGET [--no-keep-alive]
//
// TARGET must not exist yet. Prints one line of figures (milliseconds).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "settings/qt_key_store.h"
#include "ui/browser.h"
#include "ui/desktop_host.h"
#include "ui/info_dialog.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/shell.h"
#include "window_driver.h"

namespace {

using bench::Clock;
using bench::Ms;
using bench::Percentile;
constexpr std::chrono::milliseconds kSameFrame{2};

// A control of a window, found by its object name.
template <typename Kind>
Kind* Named(QWidget& window, const char* name)
{
    return window.findChild<Kind*>(QString::fromLatin1(name));
}

// Times the main window's paints and answers the dialogs of the transfer.
class Recorder : public QObject {
public:
    explicit Recorder(QWidget* main) : main_(main) {}

    bool recording = false;
    bool logShown = false;
    std::vector<Clock::time_point> paints;
    Clock::time_point end;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (recording && event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            // The widgets painted in one run of the event loop count as one frame.
            const Clock::time_point now = Clock::now();
            if (widget && widget->window() == main_ && (paints.empty() || now - paints.back() > kSameFrame))
                paints.push_back(now);
        }
        if (event->type() == QEvent::Show) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && dialog->isWindow() && dialog->isModal()) {
                if (qobject_cast<corvane::ui::TfrmInfo*>(dialog) && recording) {
                    end = Clock::now();
                    recording = false;
                    logShown = true;
                }
                QPointer<QDialog> shown(dialog);
                QTimer::singleShot(0, this, [shown] {
                    if (shown && shown->isVisible())
                        answer(*shown);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void answer(QDialog& dialog)
    {
        if (auto* info = qobject_cast<corvane::ui::TfrmInfo*>(&dialog)) {
            Named<QPushButton>(*info, "bbtnOkay")->click();
        } else if (auto* prompt = qobject_cast<corvane::ui::TfrmMyMsg*>(&dialog)) {
            QPushButton* yesToAll = Named<QPushButton>(*prompt, "bbtnYesAll");
            (yesToAll->isVisible() ? yesToAll : Named<QPushButton>(*prompt, "bbtnYes"))->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            std::fprintf(stderr, "message box: %s: %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
            box->buttons().front()->click();
        } else {
            dialog.reject();
        }
    }

    QWidget* main_;
};

}  // namespace

int main(int argc, char** argv)
{
    const bench::PrivateConfig config;
    if (!config.valid())
        return 1;
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: corvane_repaint_bench LEVEL.map TARGET [--no-keep-alive]\n");
        return 2;
    }
    const QFileInfo level(args[1]);
    const std::string target = QDir::cleanPath(QFileInfo(args[2]).absoluteFilePath()).toStdString();
    const bool keepAlive = !args.contains(QStringLiteral("--no-keep-alive"));

    const std::string settingsFile =
        config.writeSettings(level.absolutePath().toLocal8Bit(), QByteArray::fromStdString(target));
    if (settingsFile.empty())
        return 1;

    corvane::QtKeyStore store(settingsFile);
    corvane::ui::Shell shell(store);
    corvane::ui::TfrmMain& w = *shell.frmMain;
    if (!keepAlive)
        shell.host.setKeepAliveInterval(std::chrono::milliseconds(-1));
    Recorder recorder(&w);
    app.installEventFilter(&recorder);
    QApplication::processEvents();

    // The level, as a double-click in the browser loads it.
    auto* files = Named<corvane::ui::FileList>(w, "listFiles");
    for (int row = 0; row < files->count(); ++row) {
        if (corvane::ui::FileList::EntryFileName(*files->item(row)) == level.fileName().toStdString())
            files->setCurrentRow(row);
    }
    w.listFilesDblClick();
    if (w.mode() != corvane::ui::WindowMode::MapLoaded) {
        std::fprintf(stderr, "the level was not loaded\n");
        return 1;
    }
    Named<QPushButton>(w, "btnUseCurrent")->click();
    Named<QCheckBox>(w, "chbxSky")->click();
    QApplication::processEvents();

    const Clock::time_point start = Clock::now();
    recorder.recording = true;
    Named<QPushButton>(w, "btnCreate")->click();
    if (!recorder.logShown) {
        std::fprintf(stderr, "the transfer did not run through\n");
        return 1;
    }

    std::vector<double> gaps;
    Clock::time_point previous = start;
    for (const Clock::time_point paint : recorder.paints) {
        gaps.push_back(Ms(paint - previous));
        previous = paint;
    }
    gaps.push_back(Ms(recorder.end - previous));
    std::sort(gaps.begin(), gaps.end());
    const double p99 = Percentile(gaps, 0.99);
    std::printf("keep-alive %-3s  transfer %8.1f ms  frames %6zu  longest gap %8.1f ms  99th percentile %8.1f ms  "
                "median %6.1f ms  (%zu event loop runs)\n",
                keepAlive ? "on" : "off", Ms(recorder.end - start), recorder.paints.size(), gaps.back(), p99,
                gaps[gaps.size() / 2], shell.host.keepAliveCount());
    return 0;
}
