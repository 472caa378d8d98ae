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
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "ui/desktop_host.h"
#include "ui/info_dialog.h"
#include "ui/main_window.h"
#include "ui/shell.h"
#include "window_driver.h"

namespace {

using corvane::bench::AnswerTransferDialog;
using corvane::bench::Clock;
using corvane::bench::Ms;
using corvane::bench::Named;
using corvane::bench::Percentile;
constexpr std::chrono::milliseconds kSameFrame{2};

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
                        AnswerTransferDialog(*shown);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* main_;
};

}  // namespace

int main(int argc, char** argv)
{
    corvane::bench::Driver driver(argc, argv, "corvane_repaint_bench LEVEL.map TARGET [--no-keep-alive]");
    if (driver.status() != 0)
        return driver.status();
    const QFileInfo& level = driver.level;
    const bool keepAlive = !driver.args.contains(QStringLiteral("--no-keep-alive"));
    corvane::ui::Shell& shell = driver.shell();
    corvane::ui::TfrmMain& w = driver.window();
    if (!keepAlive)
        shell.host.setKeepAliveInterval(std::chrono::milliseconds(-1));
    Recorder recorder(&w);
    driver.app().installEventFilter(&recorder);
    QApplication::processEvents();

    if (!corvane::bench::LoadLevelAndUseTarget(w, level))
        return 1;

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
