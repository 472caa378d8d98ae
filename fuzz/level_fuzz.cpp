// Fuzz target: a level file's text through the line readers (from text and
// from a file), both scans and the sky lookup. A level file comes from other people, so any bytes must give a
// result or the one error the texture scan may raise, and the lists must keep
// their promises (each name once, sorted, no line break inside a name).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "map/level_lines.h"
#include "map/loaded_level.h"
#include "map/scan.h"
#include "map/sky.h"
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

// The file reader splits the file piece by piece; it must find the same
// lines as the text splitter, also where a line break (a CR LF above all)
// straddles two pieces. The first byte of the input decides whether the rest
// is read as it is or behind a run of blanks that puts the end of the first
// piece (256 KiB) just inside it.
void CheckFileReader(const std::uint8_t* data, std::size_t size)
{
    static const int fd = ::memfd_create("level", 0);
    if (fd < 0 || size == 0)
        return;
    std::string content;
    if (data[0] & 1)
        content.assign(256 * 1024 - (data[0] >> 1) % 16, 'x');
    content.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, content.data(), content.size(), 0) != static_cast<ssize_t>(content.size()))
        return;
    const corvane::LevelRead read = corvane::ReadLevelLines("/proc/self/fd/" + std::to_string(fd));
    Check(read.ok);
    Check(SameLines(read.lines, corvane::LevelLines::FromText(content)));
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

    bool scanned = true;
    try {
        ScanTextures(level);
    } catch (const Error& error) {
        Check(std::string_view(error.what()) == kListIndexOutOfBounds);
        Check(level.TextureList.empty() && level.listWals.empty());
        scanned = false;
    }
    if (scanned) {
        ui::ShowTextureScan(level);
        CheckList(level.TextureList, level.listWals, level.lblWalCount, ui::kNoCustomTextures);
    }
    ScanSounds(level);
    ui::ShowSoundScan(level);
    CheckList(level.SoundList, level.listWavs, level.lblWavCount, ui::kNoCustomWavs);

    const std::string sky = FindSkyCaption(level.MapLines);
    Check(!sky.empty());
    Check(sky.find_first_of("\r\n") == std::string::npos);
    return 0;
}
