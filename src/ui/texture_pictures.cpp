#include "ui/texture_pictures.h"

#include <algorithm>

#include <QBuffer>
#include <QImageReader>
#include <QMetaObject>

#include "formats/pcx.h"
#include "formats/read_file.h"
#include "formats/tga.h"
#include "formats/wal.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "transfer/resource_names.h"
#include "transfer/stock.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

constexpr std::string_view kWal = ".wal";
// The pictures ports load in place of a .wal, in the order they look for them.
constexpr const char* kSiblingExtensions[] = {"png", "tga", "jpg"};
// The largest sibling picture read; Qt's readers bound what they decode as well.
constexpr std::size_t kMaxSiblingBytes = std::size_t{64} << 20;
// Requests that may wait; more drop the oldest.
constexpr std::size_t kMaxWaiting = 512;

QImage ImageOf(const Picture& picture)
{
    const QImage view(picture.rgba.data(), static_cast<int>(picture.width), static_cast<int>(picture.height),
                      static_cast<qsizetype>(picture.width) * 4, QImage::Format_RGBA8888);
    return view.copy();
}

struct Decoded {
    QImage image;
    std::string error;  // when the image is null
};

Decoded DecodeSibling(const std::string& path, const char* extension)
{
    // Qt reads only Targa files of the format's second version, uncompressed;
    // the game's tools write the first as well, and compressed ones.
    if (std::string_view(extension) == "tga") {
        const Picture tga = DecodeTgaFile(path);
        return tga.error.empty() ? Decoded{ImageOf(tga), {}} : Decoded{{}, tga.error};
    }
    // Read as bytes first: only a regular file of a bounded size is read, so
    // that a pipe in a picture's place cannot hold up the worker.
    const BoundedRead read = ReadFileCapped(path, kMaxSiblingBytes);
    if (!read.error.empty())
        return {{}, read.error};
    QByteArray bytes = QByteArray::fromRawData(read.data.data(), static_cast<qsizetype>(read.data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, extension);
    QImage image = reader.read();
    if (image.isNull())
        return {{}, Bytes(reader.errorString())};
    return {image.convertToFormat(QImage::Format_ARGB32), {}};
}

}  // namespace

QImage FitPicture(const QImage& image, int side)
{
    if (side <= 0 || image.isNull())
        return image;
    const int longest = std::max(image.width(), image.height());
    if (longest <= side) {
        const int times = side / longest;
        return times > 1 ? image.scaled(image.size() * times, Qt::KeepAspectRatio, Qt::FastTransformation) : image;
    }
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

std::string TexturesFolder(const std::string& srcPath)
{
    const std::string root = SourceRoot(srcPath);
    return root.empty() ? std::string() : JoinPath(root, "textures") + Separator();
}

bool IsTextureEntry(std::string_view entry)
{
    return entry.size() > kWal.size() && entry.substr(entry.size() - kWal.size()) == kWal;
}

std::vector<std::string> PictureFiles(const std::string& texturesFolder, const std::string& entry)
{
    const std::string wal = texturesFolder + EntryRelativePath(entry);
    std::vector<std::string> files;
    const std::string stem = wal.substr(0, wal.size() - kWal.size());
    for (const char* extension : kSiblingExtensions)
        files.push_back(stem + "." + extension);
    files.push_back(wal);
    return files;
}

PaletteChoice ChoosePalette(BaseGameCache& cache, const std::string& baseGame)
{
    PaletteChoice choice;
    if (baseGame.empty()) {
        choice.problem = "No base game set";
        return choice;
    }
    const std::shared_ptr<const BaseGameIndex> index = cache.Get(baseGame);
    if (!index->ok()) {
        choice.problem = "The base game folder " + baseGame + " cannot be read";
        return choice;
    }
    if (!index->Contains(kPaletteName)) {
        choice.problem = std::string("The base game has no ") + kPaletteName;
        return choice;
    }
    const EntryBytes bytes = index->Read(kPaletteName, kMaxPcxFileBytes);
    if (!bytes.ok) {
        choice.problem = std::string(kPaletteName) + " of the base game cannot be read: " + bytes.error;
        return choice;
    }
    PaletteRead read = ReadPcxPalette(bytes.data);
    if (!read.error.empty()) {
        choice.problem = std::string(kPaletteName) + " of the base game holds no palette: " + read.error;
        return choice;
    }
    choice.palette = read.palette;
    return choice;
}

QString TexturePicture::sizeText() const
{
    if (size.isEmpty())
        return {};
    return QStringLiteral("%1 \u00d7 %2 pixels").arg(size.width()).arg(size.height());
}

QString TexturePicture::where() const
{
    if (file.isEmpty())
        return {};
    return kind == Kind::Missing ? QStringLiteral("Not found: ") + file : file;
}

QString TexturePicture::tooltip() const
{
    QStringList lines;
    if (!file.isEmpty())
        lines << where();
    if (!size.isEmpty())
        lines << sizeText();
    if (!note.isEmpty())
        lines << note;
    return lines.join(QLatin1Char('\n'));
}

TexturePicture LoadTexturePicture(const std::string& texturesFolder, const std::string& entry,
                                  const PaletteChoice& palette, int side)
{
    TexturePicture picture;
    if (texturesFolder.empty()) {
        picture.note = QStringLiteral("Not looked for: no source folder is set");
        return picture;
    }
    if (!ResourceNameRefusal(entry).empty()) {
        picture.kind = TexturePicture::Kind::Refused;
        picture.note = QStringLiteral("Not looked for: the name leads outside the textures folder");
        return picture;
    }
    const std::vector<std::string> files = PictureFiles(texturesFolder, entry);
    std::string problemFile;
    std::string problem;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        if (!FileExists(file))
            continue;
        const bool wal = i + 1 == files.size();
        Decoded decoded;
        if (wal) {
            const Picture walPicture = DecodeWalFile(file, palette.palette ? &*palette.palette : nullptr);
            decoded = walPicture.error.empty() ? Decoded{ImageOf(walPicture), {}} : Decoded{{}, walPicture.error};
        } else {
            decoded = DecodeSibling(file, kSiblingExtensions[i]);
        }
        if (decoded.image.isNull()) {
            // A damaged picture gives way to the next file; the first problem is told.
            if (problem.empty()) {
                problemFile = file;
                problem = decoded.error;
            }
            continue;
        }
        picture.kind = wal && !palette.palette ? TexturePicture::Kind::Greys : TexturePicture::Kind::Shown;
        picture.file = Q(file);
        picture.size = decoded.image.size();
        picture.image = FitPicture(decoded.image, side);
        if (picture.kind == TexturePicture::Kind::Greys)
            picture.note = Q(palette.problem + ": shown in greys");
        else if (!problem.empty())
            picture.note = Q(problemFile + " cannot be shown: " + problem);
        return picture;
    }
    if (!problem.empty()) {
        picture.kind = TexturePicture::Kind::Unreadable;
        picture.file = Q(problemFile);
        picture.note = Q("Cannot be shown: " + problem);
    } else {
        picture.kind = TexturePicture::Kind::Missing;
        picture.file = Q(files.back());
        picture.note = QStringLiteral("Nor is there a .png, .tga or .jpg of that name");
    }
    return picture;
}

// --- the loader -----------------------------------------------------------------

PictureLoader::PictureLoader(QObject* parent) : QObject(parent)
{
    pool_.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 2));
}

PictureLoader::~PictureLoader()
{
    cancel();
    pool_.waitForDone();
}

void PictureLoader::setSources(PictureSources sources)
{
    if (!(sources == sources_))
        cancel();
    sources_ = std::move(sources);
    ++sourcesVersion_;
}

void PictureLoader::cancel()
{
    ++generation_;
    const std::lock_guard lock(mutex_);
    jobs_.clear();
    waiting_.clear();
}

void PictureLoader::waitForIdle()
{
    pool_.waitForDone();
}

void PictureLoader::request(int key, const std::string& entry, int side)
{
    const std::lock_guard lock(mutex_);
    if (!waiting_.emplace(key, side).second)
        return;
    jobs_.push_back(Job{generation_.load(), key, side, entry, sources_, sourcesVersion_});
    if (jobs_.size() > kMaxWaiting) {
        waiting_.erase({jobs_.front().key, jobs_.front().side});
        jobs_.pop_front();
    }
    if (workers_ < pool_.maxThreadCount()) {
        ++workers_;
        pool_.start([this] { work(); });
    }
}

void PictureLoader::work()
{
    for (;;) {
        Job job;
        {
            const std::lock_guard lock(mutex_);
            if (jobs_.empty()) {
                --workers_;
                return;
            }
            job = std::move(jobs_.back());
            jobs_.pop_back();
        }
        if (job.generation != generation_)
            continue;
        const std::shared_ptr<const PaletteChoice> palette = paletteFor(job);
        TexturePicture picture = LoadTexturePicture(job.sources.texturesFolder, job.entry, *palette, job.side);
        // Delivered on the window's thread, unless cancelled meanwhile.
        QMetaObject::invokeMethod(
            this,
            [this, generation = job.generation, key = job.key, side = job.side, picture = std::move(picture)] {
                if (generation != generation_)
                    return;
                {
                    const std::lock_guard lock(mutex_);
                    waiting_.erase({key, side});
                }
                emit pictureReady(key, side, picture);
            },
            Qt::QueuedConnection);
    }
}

std::shared_ptr<const PaletteChoice> PictureLoader::paletteFor(const Job& job)
{
    const std::lock_guard lock(paletteMutex_);
    if (!palette_ || paletteVersion_ != job.sourcesVersion) {
        palette_ = std::make_shared<const PaletteChoice>(ChoosePalette(SharedBaseGames(), job.sources.baseGame));
        paletteVersion_ = job.sourcesVersion;
    }
    return palette_;
}

}  // namespace corvane::ui
