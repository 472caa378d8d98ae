// How long the review of a transfer takes to appear: runs the real main
// window (on whatever Qt platform is set, normally offscreen), loads the
// level, presses "Use this", ticks "Include sky" and presses "Review...",
// timing from the press until the review's table has been painted, and until
// the bytes of every file the target has are compared (Transfer can then be
// pressed); then closes the review with Cancel and presses again, several
// times. The plan with every file's bytes compared before it returns (as
// corvane-cli check makes it) is timed beside it.
//
//   corvane_review_bench LEVEL.map TARGET [--transferred] [--runs N]
//
// TARGET must not exist yet. With --transferred the level is first
// transferred into it (every question answered Yes to All), so that the
// review finds every file in the target and compares its bytes. Prints one
// line of figures (milliseconds).

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
#include <QTreeView>

#include "transfer/plan.h"
#include "ui/main_window.h"
#include "ui/review_dialog.h"
#include "ui/shell.h"
#include "window_driver.h"

namespace {

using corvane::bench::AnswerTransferDialog;
using corvane::bench::Clock;
using corvane::bench::Ms;
using corvane::bench::Named;

// Answers the dialogs of a transfer; notes when the review appears and when
// its table is first painted, and then cancels it.
class Recorder : public QObject {
public:
    Clock::time_point shown;
    Clock::time_point painted;
    Clock::time_point compared;
    bool reviewPainted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && review_ && !reviewPainted) {
            auto* widget = qobject_cast<QWidget*>(watched);
            auto* table = Named<QTreeView>(*review_, "treePlan");
            if (widget && table && widget == table->viewport()) {
                // Timed once the paint has been done: the timer runs after it.
                reviewPainted = true;
                QPointer<QDialog> review = review_;
                QTimer::singleShot(0, this, [this, review] {
                    painted = Clock::now();
                    waitForComparisons(review);
                });
            }
        }
        if (event->type() == QEvent::Show) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (auto* review = qobject_cast<corvane::ui::TfrmReview*>(dialog)) {
                shown = Clock::now();
                review_ = review;
            } else if (dialog && dialog->isWindow() && dialog->isModal()) {
                QPointer<QDialog> open(dialog);
                QTimer::singleShot(0, this, [open] {
                    if (open && open->isVisible())
                        AnswerTransferDialog(*open);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Notes when Transfer becomes usable, then cancels the review.
    void waitForComparisons(QPointer<QDialog> review)
    {
        if (!review)
            return;
        if (!Named<QPushButton>(*review, "btnTransfer")->isEnabled()) {
            QTimer::singleShot(1, this, [this, review] { waitForComparisons(review); });
            return;
        }
        compared = Clock::now();
        Named<QPushButton>(*review, "btnCancel")->click();
    }

    QPointer<QDialog> review_;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    corvane::bench::Driver driver(argc, argv, "corvane_review_bench LEVEL.map TARGET [--transferred] [--runs N]");
    if (driver.status() != 0)
        return driver.status();
    const QFileInfo& level = driver.level;
    const bool transferred = driver.args.contains(QStringLiteral("--transferred"));
    const qsizetype runsAt = driver.args.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt > 0 && runsAt + 1 < driver.args.size() ? std::max(1, driver.args[runsAt + 1].toInt()) : 5;
    corvane::ui::Shell& shell = driver.shell();
    corvane::ui::TfrmMain& w = driver.window();
    Recorder recorder;
    driver.app().installEventFilter(&recorder);
    QApplication::processEvents();

    if (!corvane::bench::LoadLevelAndUseTarget(w, level))
        return 1;
    if (transferred) {
        Named<QPushButton>(w, "btnCreate")->click();
        if (w.mode() != corvane::ui::WindowMode::Transferred) {
            std::fprintf(stderr, "the transfer did not run through\n");
            return 1;
        }
        w.mnuFileNewClick();
        if (!corvane::bench::LoadLevelAndUseTarget(w, level))
            return 1;
    }

    // The plan alone, for the same job the window builds.
    corvane::TransferJob job;
    job.target = job.targPath = driver.target;
    job.srcPath = shell.settings.SrcPath;
    job.currentMapPath = w.level().CurrentMapPath;
    job.includeSky = true;
    job.skyName = w.level().lblSky;
    std::vector<double> plans, toShown, toPainted, toCompared;
    std::size_t items = 0;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point planned = Clock::now();
        items = corvane::PlanTransfer(job, w.level()).items.size();
        plans.push_back(Ms(Clock::now() - planned));

        recorder.reviewPainted = false;
        const Clock::time_point start = Clock::now();
        Named<QPushButton>(w, "btnReview")->click();
        if (!recorder.reviewPainted) {
            std::fprintf(stderr, "the review's table was never painted\n");
            return 1;
        }
        toShown.push_back(Ms(recorder.shown - start));
        toPainted.push_back(Ms(recorder.painted - start));
        toCompared.push_back(Ms(recorder.compared - start));
    }
    std::printf("target %-11s  %zu files  click to shown %6.1f ms  click to painted table %6.1f ms (slowest %.1f)"
                "  click to every file compared %6.1f ms  plan with the bytes read first %6.1f ms  (medians of %d)\n",
                transferred ? "transferred" : "new", items, Median(toShown), Median(toPainted),
                *std::max_element(toPainted.begin(), toPainted.end()), Median(toCompared), Median(plans), runs);
    return 0;
}
