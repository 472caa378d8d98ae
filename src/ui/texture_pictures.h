#pragma once
// Pictures of the level's textures. A texture entry such as "harbor/wall.wal"
// names a file below the working tree's textures folder. A .png, .tga or .jpg
// of the same name beside it is shown as it is (ports of the game load those
// in its place; Qt reads the .png and .jpg, the .tga is our own reader's); otherwise the .wal, whose 8-bit indices take their colours
// from the base game's palette (pics/colormap.pcx, loose or in its paks), or
// greys when there is none. Decoding runs on worker threads: the window asks,
// and the picture arrives later through a queued signal.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include "archive/base_game.h"
#include "formats/picture.h"

namespace corvane::ui {

// Where the pictures of the texture list come from.
struct PictureSources {
    std::string texturesFolder;  // the working tree's textures folder
    std::string baseGame;        // the base game's folder; "" when none is set
    bool operator==(const PictureSources&) const = default;
};

// The working tree's textures folder for a source folder, with a separator at
// its end, as a transfer finds it; "" when the source folder has no parent.
std::string TexturesFolder(const std::string& srcPath);

// Whether a list entry names a texture; the placeholder line does not.
bool IsTextureEntry(std::string_view entry);

// The files that can show a texture entry, in the order they are tried: a
// .png, a .tga and a .jpg of the same name, then the .wal itself.
std::vector<std::string> PictureFiles(const std::string& texturesFolder, const std::string& entry);

// The palette that colours the .wal textures, or why there is none.
struct PaletteChoice {
    std::optional<Palette> palette;
    std::string problem;  // such as "No base game set"
};
inline constexpr const char* kPaletteName = "pics/colormap.pcx";
PaletteChoice ChoosePalette(BaseGameCache& cache, const std::string& baseGame);

struct TexturePicture {
    enum class Kind {
        Shown,       // in its own colours
        Greys,       // a .wal without a palette
        Missing,     // no file to show it
        Unreadable,  // a file that could not be read or decoded
        Refused,     // a name that leads outside the textures folder
    };
    Kind kind = Kind::Missing;
    QImage image;  // the picture, or a thumbnail of it; null when there is none
    QSize size;    // the picture's own size in pixels; empty when there is none
    QString file;  // the file shown, or the one looked for
    QString note;  // why it does not look as it should; "" when it does

    // The picture's size as shown beside it: "64 × 64 pixels".
    QString sizeText() const;
    // The file shown, or "Not found: " and the file looked for.
    QString where() const;
    // What its tooltip says: where it is from, its size and the note.
    QString tooltip() const;
};

// The picture made to fit side x side: a small one grows by a whole multiple,
// so that its pixels stay sharp; a large one shrinks smoothly. A `side` of 0
// leaves it as it is.
QImage FitPicture(const QImage& image, int side);

// The picture of a texture entry, made to fit side x side (see FitPicture).
// Safe on any thread.
TexturePicture LoadTexturePicture(const std::string& texturesFolder, const std::string& entry,
                                  const PaletteChoice& palette, int side);

// Decodes pictures on worker threads. Requests wait on a stack, the newest
// first, so that what the user looks at now comes before what scrolled past;
// the oldest are dropped when too many wait, and asked for again when they
// are seen again. Cancelling drops what waits and ignores what is running.
class PictureLoader : public QObject {
    Q_OBJECT
public:
    explicit PictureLoader(QObject* parent = nullptr);
    ~PictureLoader() override;

    // Where the pictures come from. Each call reads the base game's palette
    // afresh when it is next needed; a change also cancels the work in hand.
    void setSources(PictureSources sources);
    const PictureSources& sources() const { return sources_; }

    // Asks for the picture of `entry`, known to the caller as `key`, at
    // `side` (see LoadTexturePicture); nothing when it is already waiting.
    void request(int key, const std::string& entry, int side);
    void cancel();
    // Waits until no picture is being decoded (for tests, and closing).
    void waitForIdle();

signals:
    // A picture asked for since the last cancel.
    void pictureReady(int key, int side, const corvane::ui::TexturePicture& picture);

private:
    struct Job {
        std::uint64_t generation = 0;
        int key = 0;
        int side = 0;
        std::string entry;
        PictureSources sources;
        std::uint64_t sourcesVersion = 0;
    };
    void work();
    std::shared_ptr<const PaletteChoice> paletteFor(const Job& job);

    PictureSources sources_;
    std::uint64_t sourcesVersion_ = 0;
    std::atomic<std::uint64_t> generation_{0};

    std::mutex mutex_;  // guards what follows
    std::deque<Job> jobs_;
    std::set<std::pair<int, int>> waiting_;  // (key, side) of the jobs waiting, running or on their way
    int workers_ = 0;

    std::mutex paletteMutex_;  // guards what follows
    std::shared_ptr<const PaletteChoice> palette_;
    std::uint64_t paletteVersion_ = 0;

    QThreadPool pool_;
};

}  // namespace corvane::ui
