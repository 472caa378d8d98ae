#include "transfer/extras.h"

#include <algorithm>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "formats/bsp.h"
#include "formats/entity_keys.h"
#include "formats/md2.h"
#include "formats/wal.h"
#include "platform/file_facts.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/level_files.h"
#include "transfer/resource_names.h"

namespace corvane {

namespace {

// A name below the game folder as a path of this system.
std::string NativeName(std::string_view name)
{
    std::string native(name);
    std::replace(native.begin(), native.end(), '/', Separator());
    return native;
}

std::string WithoutWal(std::string_view entry)
{
    constexpr std::string_view wal = ".wal";
    if (entry.size() > wal.size() && AsciiLower(std::string(entry.substr(entry.size() - wal.size()))) == wal)
        entry.remove_suffix(wal.size());
    return std::string(entry);
}

std::string FolderOf(std::string_view name)
{
    const auto slash = name.rfind('/');
    return std::string(slash == std::string_view::npos ? std::string_view() : name.substr(0, slash));
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

struct Finder {
    const LoadedLevel& level;
    std::string root;  // the working tree: the parent of the source folder
    const std::string& targPath;
    const StockRule& stock;
    CaseLookup& lookup;
    std::unordered_set<std::string> known;  // lower-case names listed or added already
    std::vector<ExtraFile> extras;
    std::unordered_map<std::string, WalHeaderRead> headers;  // the listed textures' headers, read ahead

    // Reads the headers of the level's own textures ahead, on a few threads:
    // a level names thousands of them, and each header costs a few calls to
    // the system, which wait on the file system more than on the processor.
    void readAhead(const ResourceList& textures)
    {
        std::vector<std::string> paths;
        for (const std::string& entry : textures) {
            if (!ResourceNameRefusal(entry).empty())
                continue;
            const CaseMatch found = lookup.find(root, "textures/" + entry);
            if (found.kind == CaseMatch::Kind::Exact || found.kind == CaseMatch::Kind::Unique)
                paths.push_back(found.path);
        }
        std::vector<WalHeaderRead> read(paths.size());
        const auto readEvery = [&](std::size_t first, std::size_t step) {
            for (std::size_t i = first; i < paths.size(); i += step)
                read[i] = ReadWalHeaderFile(paths[i]);
        };
        constexpr std::size_t kPerThread = 256;
        const std::size_t threads =
            std::clamp<std::size_t>(paths.size() / kPerThread, 1, std::max(1u, std::min(4u, std::thread::hardware_concurrency())));
        std::vector<std::thread> helpers;
        for (std::size_t t = 1; t < threads; ++t)
            helpers.emplace_back(readEvery, t, threads);
        readEvery(0, threads);
        for (std::thread& helper : helpers)
            helper.join();
        for (std::size_t i = 0; i < paths.size(); ++i)
            headers.emplace(std::move(paths[i]), std::move(read[i]));
    }

    // The file `name` as a complete release takes it: refused, stock, or
    // looked for in the working tree.
    ExtraFile resolve(PlanKind kind, std::string name, std::string neededBy, bool* found = nullptr)
    {
        ExtraFile file;
        file.kind = kind;
        file.neededBy = std::move(neededBy);
        file.folder = FolderOf(name);
        file.source = JoinPath(root, NativeName(name));
        file.target = JoinPath(targPath, NativeName(name));
        file.name = std::move(name);
        file.refusal = ResourceNameRefusal(file.name);
        if (file.refusal.empty() && std::max(file.source.size(), file.target.size()) > MaxPathBytes())
            file.refusal = "a path longer than the file system allows";
        if (!file.refusal.empty())
            return file;
        file.stock = stock.gameFile(file.name);
        if (file.stock)
            return file;
        const CaseMatch match = lookup.find(root, file.name);
        if (match.kind == CaseMatch::Kind::Exact || match.kind == CaseMatch::Kind::Unique)
            file.source = match.path;
        else if (match.kind == CaseMatch::Kind::Ambiguous)
            file.note = "matches " + Joined(match.candidates) + " ignoring case";
        if (found)
            *found = match.kind == CaseMatch::Kind::Exact || match.kind == CaseMatch::Kind::Unique;
        return file;
    }

    // Adds the file unless it is known already; true when added.
    bool add(const ExtraFile& file)
    {
        if (!known.insert(AsciiLower(file.name)).second)
            return false;
        extras.push_back(file);
        return true;
    }

    static bool Usable(const ExtraFile& file) { return file.refusal.empty() && !file.stock && FileExists(file.source); }

    // The images and sidecars beside the texture `stem` ("w/water1") that the
    // working tree has.
    void images(const std::string& stem, const std::string& neededBy)
    {
        // The texture's folder is asked once for all its siblings; only one
        // it has (in any case) is looked at further.
        const std::string_view written(stem);
        const auto slash = written.rfind('/');
        const std::string base(slash == std::string_view::npos ? written : written.substr(slash + 1));
        const std::string folder = "textures/" + std::string(slash == std::string_view::npos
                                                                 ? std::string_view()
                                                                 : written.substr(0, slash));
        const CaseLookup::Spellings* names = lookup.namesIn(root, folder);
        for (const char* sibling : kTextureSiblings) {
            if (names && !names->count(AsciiLower(base + sibling)))
                continue;
            std::string name = "textures/" + stem + sibling;
            if (known.count(AsciiLower(name)))
                continue;
            bool found = false;
            ExtraFile file = resolve(PlanKind::Image, std::move(name), neededBy, &found);
            // A sibling the working tree lacks is no loss: the game does without it.
            if (file.refusal.empty() && file.note.empty() && !found && !FileExists(file.source))
                continue;
            add(file);
        }
    }

    // The texture `entry` of the level's list: its images, and each further
    // frame of its animation with their images.
    void texture(const std::string& entry)
    {
        if (!ResourceNameRefusal(entry).empty())
            return;  // the texture step refuses it
        const std::string stem = WithoutWal(entry);
        images(stem, entry);
        const CaseMatch first = lookup.find(root, "textures/" + entry);
        if (first.kind != CaseMatch::Kind::Exact && first.kind != CaseMatch::Kind::Unique)
            return;
        std::unordered_set<std::string> seen{AsciiLower(stem)};
        std::string source = first.path;
        for (int frames = 1; frames < kMaxAnimationFrames; ++frames) {
            const auto ahead = frames == 1 ? headers.find(source) : headers.end();
            const WalHeaderRead read = ahead != headers.end() ? std::move(ahead->second) : ReadWalHeaderFile(source);
            if (!read.error.empty() || read.header.animName.empty())
                return;
            const std::string next = read.header.animName;
            if (!seen.insert(AsciiLower(next)).second)
                return;  // the chain has come round
            const ExtraFile frame = resolve(PlanKind::Frame, "textures/" + next + ".wal", entry);
            add(frame);
            if (!Usable(frame))
                return;
            images(next, entry);
            source = frame.source;
        }
    }

    // A file an entity key names, and for an .md2 model its skins.
    void entityFile(const EntityFileKey& key, PlanKind kind)
    {
        std::string path = GameFilePath(key);
        if (path.empty() || known.count(AsciiLower(path)))
            return;
        if (kind == PlanKind::Sound && known.count(AsciiLower(path + ".wav")))
            return;  // the sound list has it, as the game names it
        const ExtraFile file = resolve(kind, std::move(path), "entity");
        add(file);
        if (kind != PlanKind::Model || !Usable(file) || AsciiLower(std::string(FileExtension(file.name))) != "md2")
            return;
        for (const std::string& skin : ReadMd2SkinsFile(file.source).skins) {
            if (!known.count(AsciiLower(skin)))
                add(resolve(PlanKind::Skin, skin, file.name));
        }
    }
};

}  // namespace

std::vector<ExtraFile> FindExtras(const LoadedLevel& level, const std::string& srcPath, const std::string& targPath,
                                  const StockRule& stock, CaseLookup& lookup)
{
    Finder finder{level, SourceRoot(srcPath), targPath, stock, lookup, {}, {}, {}};
    for (const ResourceList* list : {&level.TextureList, &level.StockTextures}) {
        for (const std::string& entry : *list)
            finder.known.insert(AsciiLower("textures/" + entry));
    }
    for (const ResourceList* list : {&level.SoundList, &level.StockSounds}) {
        for (const std::string& entry : *list) {
            finder.known.insert(AsciiLower("sound/" + entry));
            finder.known.insert(AsciiLower("sound/" + TransferName(ResourceKind::Sounds, entry)));
        }
    }
    finder.readAhead(level.TextureList);
    for (const std::string& entry : level.TextureList)
        finder.texture(entry);
    const std::vector<EntityFileKey> keys = FindEntityFileKeys(level.MapLines);
    // Models first with their skins, then the sounds, then the pictures, each in line order.
    for (const PlanKind kind : {PlanKind::Model, PlanKind::Sound, PlanKind::Image}) {
        for (const EntityFileKey& key : keys) {
            const PlanKind named = key.key == "model" ? PlanKind::Model
                                   : key.key == "image" ? PlanKind::Image
                                                        : PlanKind::Sound;
            if (named == kind)
                finder.entityFile(key, kind);
        }
    }
    return std::move(finder.extras);
}

std::vector<std::string> CompiledLevelWarnings(const std::string& mapPath, const LoadedLevel& level)
{
    const std::string bsp = BspPath(mapPath);
    const FileFacts compiled = ReadFileFacts(bsp);
    if (!compiled.file)
        return {};
    std::vector<std::string> warnings;
    const FileFacts source = ReadFileFacts(mapPath);
    // Copies and checkouts write both within moments of each other, in any
    // order; a compiler writes its .bsp after the source was saved.
    constexpr std::int64_t kSlack = 2'000'000'000;  // ns
    if (source.file && compiled.modified + kSlack < source.modified)
        warnings.emplace_back("the compiled level is older than its source");
    const BspContents contents = ReadBspFile(bsp);
    if (!contents.error.empty()) {
        warnings.push_back("the compiled level " + ShownName(std::string(FileName(bsp))) +
                           " cannot be read: " + contents.error);
        return warnings;
    }
    std::vector<std::string> ours, theirs;
    std::unordered_set<std::string> inSource, inCompiled;
    for (const ResourceList* list : {&level.TextureList, &level.StockTextures}) {
        for (const std::string& entry : *list) {
            if (inSource.insert(AsciiLower(WithoutWal(entry))).second)
                ours.push_back(WithoutWal(entry));
        }
    }
    for (const std::string& name : contents.textures) {
        // The lists hold only names in a folder: a tool texture such as
        // "clip" or "trigger" is compiled in but never listed.
        if (name.find('/') != std::string::npos && inCompiled.insert(AsciiLower(name)).second)
            theirs.push_back(name);
    }
    const auto onlyIn = [](const std::vector<std::string>& names, const std::unordered_set<std::string>& other) {
        std::vector<std::string> only;
        for (const std::string& name : names) {
            if (!other.count(AsciiLower(name)))
                only.push_back(ShownName(name));
        }
        return SortedNames(std::move(only));
    };
    const auto listed = [](const std::vector<std::string>& names) {
        constexpr std::size_t kShown = 10;
        std::vector<std::string> shown(names.begin(), names.begin() + std::min(names.size(), kShown));
        std::string text = Joined(shown);
        if (names.size() > kShown)
            text += " and " + std::to_string(names.size() - kShown) + " more";
        return text;
    };
    const std::vector<std::string> compiledOnly = onlyIn(theirs, inSource);
    const std::vector<std::string> sourceOnly = onlyIn(ours, inCompiled);
    if (!compiledOnly.empty())
        warnings.push_back("the compiled level uses textures its source does not (compiled from another version of "
                           "the source?): " + listed(compiledOnly));
    if (!sourceOnly.empty())
        warnings.push_back("the source uses textures its compiled level does not (compiled from another version of "
                           "the source?): " + listed(sourceOnly));
    return warnings;
}

std::string ExtraQuestionCaption(const std::string& folder)
{
    const std::string_view name(folder);
    const auto slash = name.find('/');
    const std::string top = AsciiLower(std::string(name.substr(0, slash)));
    const std::string rest = slash == std::string_view::npos ? std::string() : std::string(name.substr(slash + 1));
    std::string label = top == "textures" ? "Textures" : top == "sound" ? "Sounds" : top;
    if (!label.empty())
        label[0] = AsciiUpper(label.substr(0, 1))[0];
    return label + " dir exists! " + AsciiUpper(rest);
}

}  // namespace corvane
