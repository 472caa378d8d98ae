// Fuzz target: a level file's text through the line readers (from text and
// from a file, read or mapped), both scans (against the rules applied line by
// line) and the sky lookup. A level file comes from other people, so any bytes must give a
// result or the one error the texture scan may raise, and the lists must keep
// their promises (each name once, sorted, no line break inside a name).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "map/level_lines.h"
#include "map/loaded_level.h"
#include "map/scan.h"
#include "map/sky.h"
#include "platform/file_view.h"
#include "platform/error.h"
#include "ui/level_model.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckList(const corvane::ResourceList& list, const std::vector<std::string>& shown,
               const std::string& count, const char* placeholder)
{
    Check(count == std::to_string(list.size()));
    if (list.empty()) {
        Check(shown.size() == 1 && shown[0] == placeholder);
        return;
    }
    Check(shown.size() == list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& name = list[i];
        Check(name.find_first_of("\r\n") == std::string::npos);
        Check(name.find('\0') == std::string::npos);
        Check(shown[i] == name);
        // std::string compares bytes as unsigned, the list's own order.
        if (i > 0)
            Check(list[i - 1] < name);
    }
}

bool SameLines(const corvane::LevelLines& a, const corvane::LevelLines& b)
{
    if (a.size() != b.size() || a.text() != b.text())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// The file reader must find the same lines as the text splitter, whether it
// reads the file (a small one) or maps it, and wherever a line break (a CR LF
// above all) falls against the 64-byte blocks it looks at. The first byte of
// the input decides whether the rest is read as it is or behind a run of
// blanks that takes the file past the size from which files are mapped.
void CheckFileReader(const std::uint8_t* data, std::size_t size)
{
    static const int fd = ::memfd_create("level", 0);
    if (fd < 0 || size == 0)
        return;
    std::string content;
    if (data[0] & 1)
        content.assign(corvane::FileView::kMapFrom - 64 + (data[0] >> 1) % 128, 'x');
    content.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, content.data(), content.size(), 0) != static_cast<ssize_t>(content.size()))
        return;
    const corvane::LevelRead read = corvane::ReadLevelLines("/proc/self/fd/" + std::to_string(fd));
    Check(read.ok);
    Check(SameLines(read.lines, corvane::LevelLines::FromText(content)));
}

// The names the rules give, line by line, without the scans' shortcuts: a
// texture is the token around a face line's first slash (cut at blanks) with
// ".wal" added, a sound the token around a "noise" line's first slash (cut at
// double quotes). No textures when there is no "{" after line 0.
struct Names {
    bool faces = false;  // a line after line 0 holds a "{"
    std::set<std::string> textures, sounds;
};

// The token around a line's first slash, cut at `delimiter`; false when
// there is none.
bool TokenAroundFirstSlash(std::string_view line, char delimiter, std::string_view& token)
{
    const std::size_t slash = line.find('/');
    if (slash == std::string_view::npos || slash == 0)
        return false;
    const std::size_t before = line.substr(0, slash).rfind(delimiter);
    if (before == std::string_view::npos)
        return false;
    const std::size_t after = line.find(delimiter, before + 2);
    if (after == std::string_view::npos)
        return false;
    token = line.substr(before + 1, after - before - 1);
    return true;
}

Names NamesByTheRules(const corvane::LevelLines& lines)
{
    std::size_t faces = 1;
    while (faces < lines.size() && lines[faces].find('{') == std::string_view::npos)
        ++faces;
    Names names;
    names.faces = faces < lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        std::string_view token;
        if (line.find("noise") != std::string_view::npos && TokenAroundFirstSlash(line, '"', token) &&
            !corvane::IsStockSound(token))
            names.sounds.emplace(token);
        if (i < faces || line.size() < 2 || line.find('"') != std::string_view::npos ||
            !TokenAroundFirstSlash(line, ' ', token))
            continue;
        while (!token.empty() && static_cast<unsigned char>(token.front()) <= 32)
            token.remove_prefix(1);
        while (!token.empty() && static_cast<unsigned char>(token.back()) <= 32)
            token.remove_suffix(1);
        const std::string name = std::string(token) + ".wal";
        if (!token.starts_with("//") && !corvane::IsStockTexture(name))
            names.textures.insert(name);
    }
    return names;
}

bool Holds(const corvane::ResourceList& list, const std::set<std::string>& names)
{
    return list.size() == names.size() && std::equal(list.begin(), list.end(), names.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    std::string text(reinterpret_cast<const char*>(data), size);
    CheckFileReader(data, size);

    ui::WindowLevel level;
    level.MapLines = LevelLines::FromText(text);

    // Every line lies inside the text, holds no line break, and the lines
    // together never hold more bytes than the text.
    std::size_t total = 0;
    for (std::size_t i = 0; i < level.MapLines.size(); ++i) {
        const std::string_view line = level.MapLines[i];
        Check(line.find_first_of("\r\n") == std::string_view::npos);
        total += line.size();
    }
    Check(total <= size);

    const Names byTheRules = NamesByTheRules(level.MapLines);
    LoadedLevel together;  // both scans in one pass, as a load does
    together.MapLines = level.MapLines;
    bool scanned = true;
    try {
        ScanTextures(level);
    } catch (const Error& error) {
        Check(std::string_view(error.what()) == kListIndexOutOfBounds);
        Check(level.TextureList.empty() && level.listWals.empty());
        scanned = false;
    }
    Check(scanned == byTheRules.faces);
    if (scanned) {
        ui::ShowTextureScan(level);
        CheckList(level.TextureList, level.listWals, level.lblWalCount, ui::kNoCustomTextures);
        Check(Holds(level.TextureList, byTheRules.textures));
    }
    ScanSounds(level);
    ui::ShowSoundScan(level);
    CheckList(level.SoundList, level.listWavs, level.lblWavCount, ui::kNoCustomWavs);
    Check(Holds(level.SoundList, byTheRules.sounds));

    // In one pass: the same lists, and nothing added when the texture scan fails.
    try {
        ScanTexturesAndSounds(together);
        Check(scanned && together.TextureList.entries() == level.TextureList.entries() &&
              together.SoundList.entries() == level.SoundList.entries() &&
              together.StockTextures.entries() == level.StockTextures.entries() &&
              together.StockSounds.entries() == level.StockSounds.entries());
    } catch (const Error&) {
        Check(!scanned && together.TextureList.empty() && together.SoundList.empty());
    }

    const std::string sky = FindSkyCaption(level.MapLines);
    Check(!sky.empty());
    Check(sky.find_first_of("\r\n") == std::string::npos);
    return 0;
}
