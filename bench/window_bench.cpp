// How quickly the desktop window shows a huge level: runs the real main
// window (on whatever Qt platform is set, normally offscreen), loads the level
// as File > Open does and times it from the load until both resource lists
// have been painted. With --scroll it then scrolls the texture list from top
// to bottom a page at a time, as dragging the scroll bar does, and times each
// frame from the move until the list has been painted again.
//
//   corvane_window_bench LEVEL.map [--scroll]
//
// Prints one line of figures (milliseconds).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScrollBar>

#include "settings/qt_key_store.h"
#include "ui/main_window.h"
#include "ui/shell.h"
#include "window_driver.h"

namespace {

using bench::Clock;
using bench::Ms;
using bench::Percentile;

// Notes the paints of the two resource lists.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* textures, QWidget* sounds) : textures_(textures), sounds_(sounds) {}

    bool texturesPainted = false;
    bool soundsPainted = false;

    void reset() { texturesPainted = soundsPainted = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            if (watched == textures_)
                texturesPainted = true;
            else if (watched == sounds_)
                soundsPainted = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* textures_;
    QWidget* sounds_;
};

// Runs the event loop until `done` holds; false when it does not within 60 s.
template <typename Done>
bool RunUntil(Done done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 60000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::PrivateConfig config;
    if (!config.valid())
        return 1;
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: corvane_window_bench LEVEL.map [--scroll]\n");
        return 2;
    }
    const QFileInfo level(args[1]);
    const bool scroll = args.contains(QStringLiteral("--scroll"));

    const std::string settingsFile = config.writeSettings(level.absolutePath().toLocal8Bit(), {});
    if (settingsFile.empty())
        return 1;

    corvane::QtKeyStore store(settingsFile);
    corvane::ui::Shell shell(store);
    corvane::ui::TfrmMain& w = *shell.frmMain;
    auto* textures = w.findChild<QAbstractItemView*>(QStringLiteral("listWals"));
    auto* sounds = w.findChild<QAbstractItemView*>(QStringLiteral("listWavs"));
    if (!textures || !sounds) {
        std::fprintf(stderr, "the window has no listWals or listWavs\n");
        return 1;
    }
    PaintWatch watch(textures->viewport(), sounds->viewport());
    app.installEventFilter(&watch);
    // The window settles before the clock starts.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);

    watch.reset();
    const Clock::time_point start = Clock::now();
    w.OpenLevel(QFileInfo(level).absoluteFilePath().toStdString());
    const Clock::time_point loaded = Clock::now();
    if (w.mode() != corvane::ui::WindowMode::MapLoaded || !textures->isVisible()) {
        std::fprintf(stderr, "the level was not loaded\n");
        return 1;
    }
    if (!RunUntil([&] { return watch.texturesPainted && watch.soundsPainted; })) {
        std::fprintf(stderr, "the lists were never painted\n");
        return 1;
    }
    const Clock::time_point painted = Clock::now();
    const int rows = textures->model()->rowCount();
    std::printf("load->painted %9.1f ms  (load %9.1f ms, then painted %7.1f ms)  textures %d  sounds %d",
                Ms(painted - start), Ms(loaded - start), Ms(painted - loaded), rows, sounds->model()->rowCount());

    if (scroll) {
        QScrollBar* bar = textures->verticalScrollBar();
        std::vector<double> frames;
        const Clock::time_point scrollStart = Clock::now();
        for (int value = bar->minimum() + bar->pageStep(); bar->value() < bar->maximum(); value += bar->pageStep()) {
            watch.reset();
            const Clock::time_point moved = Clock::now();
            bar->setValue(std::min(value, bar->maximum()));
            if (!RunUntil([&] { return watch.texturesPainted; })) {
                std::fprintf(stderr, "\nthe list was not painted after a scroll\n");
                return 1;
            }
            frames.push_back(Ms(Clock::now() - moved));
        }
        const double total = Ms(Clock::now() - scrollStart);
        if (frames.empty()) {
            std::printf("  (nothing to scroll)");
        } else {
            std::sort(frames.begin(), frames.end());
            std::printf("  scroll: %zu frames in %.0f ms, median %.2f ms, 99th percentile %.2f ms, longest %.2f ms",
                        frames.size(), total, Percentile(frames, 0.5), Percentile(frames, 0.99), frames.back());
        }
    }
    std::printf("\n");
    return 0;
}
