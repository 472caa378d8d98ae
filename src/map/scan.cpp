#include "map/scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <future>
#include <thread>
#include <utility>
#include <vector>

#include "map/byte_search.h"
#include "platform/error.h"

namespace corvane {

namespace {

bool IsControlOrBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimControlsAndBlanks(std::string_view text)
{
    while (!text.empty() && IsControlOrBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsControlOrBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The token a face line gives as its texture's name, as written, taking the
// line's first slash at `slash`; false when the line gives none.
bool TextureTokenOf(std::string_view line, std::size_t slash, std::string_view& token)
{
    if (line.size() < 2)
        return false;
    const std::size_t start = FindTokenStart(line, slash, ' ');
    if (start == kNoPosition)
        return false;
    // No blank stands between the token's start and the slash: the end is
    // looked for after the slash.
    const std::size_t end = FindTokenEnd(line, slash, ' ');
    if (end == kNoPosition)
        return false;
    token = TrimControlsAndBlanks(line.substr(start, end - start));
    return !token.starts_with("//");  // a comment after a brush's "{", not a texture
}

// The bytes of a level's text that the scans go by: a double quote (a line
// with one is an entity's key, never a face), a slash (a name holds one) and
// the start of "noise" (a line with it may name a sound).
enum class Mark { Quote, Slash, Noise };

constexpr std::string_view kNoise = "noise";

// Calls `mark(at, kind)` for every mark in text[from, to), in ascending
// order; the start of "noise" only when `noise`. The text is looked at 64
// bytes at a time, and far less often than that does anything happen.
template <typename OnMark>
void ForEachMark(std::string_view text, std::size_t from, std::size_t to, bool noise, OnMark&& mark)
{
    const char* const bytes = text.data();
    const std::size_t size = text.size();
    std::size_t at = from;
#if defined(__SSE2__)
    // Every block may be read together with the four bytes after it, where the
    // last "e" of a "noise" that starts in the block stands.
    const __m128i quote = _mm_set1_epi8('"'), slash = _mm_set1_epi8('/');
    const __m128i n = _mm_set1_epi8('n'), e = _mm_set1_epi8('e');
    for (; to - at >= 64 && size - at >= 64 + kNoise.size() - 1; at += 64) {
        if (size - at > kFetchAhead)
            FetchAhead(bytes + at + kFetchAhead);
        std::uint64_t marks = 0;
        for (int part = 0; part < 4; ++part) {
            const char* chunk = bytes + at + 16 * part;
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk));
            const __m128i later = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk + 4));
            const __m128i noises = noise ? _mm_and_si128(_mm_cmpeq_epi8(here, n), _mm_cmpeq_epi8(later, e))
                                         : _mm_setzero_si128();
            const __m128i hits =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(here, quote), _mm_cmpeq_epi8(here, slash)), noises);
            marks |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))} << (16 * part);
        }
        for (; marks != 0; marks &= marks - 1) {
            const std::size_t place = at + static_cast<std::size_t>(std::countr_zero(marks));
            if (bytes[place] == '"')
                mark(place, Mark::Quote);
            else if (bytes[place] == '/')
                mark(place, Mark::Slash);
            else if (std::memcmp(bytes + place + 1, kNoise.data() + 1, 3) == 0)
                mark(place, Mark::Noise);
        }
    }
#endif
    for (; at < to; ++at) {
        if (bytes[at] == '"')
            mark(at, Mark::Quote);
        else if (bytes[at] == '/')
            mark(at, Mark::Slash);
        else if (noise && bytes[at] == 'n' && text.substr(at, kNoise.size()) == kNoise)
            mark(at, Mark::Noise);
    }
}

// Texture tokens a scan has dealt with already (their names are listed, or
// they are the game's own): a small table, keyed by the token's first and last
// bytes and its length, that holds a copy of each token, so that a lookup
// never reaches back into a text far bigger than the processor's caches. A
// token that is not in the table may have been dealt with all the same.
class KnownTokens {
public:
    bool contains(std::string_view token) const
    {
        const Slot& slot = slots_[SlotOf(token)];
        return slot.size == token.size() && token.size() != 0 &&
               SameBytes(std::string_view(slot.bytes, slot.size), token);
    }
    void remember(std::string_view token)
    {
        if (token.size() > kLongest)
            return;
        Slot& slot = slots_[SlotOf(token)];
        slot.size = static_cast<std::uint8_t>(token.size());
        std::memcpy(slot.bytes, token.data(), token.size());
    }

private:
    static constexpr std::size_t kSlots = 1024;
    static constexpr std::size_t kLongest = 63;

    struct Slot {
        std::uint8_t size = 0;
        char bytes[kLongest];
    };

    static std::size_t SlotOf(std::string_view token)
    {
        std::uint64_t head = 0, tail = 0;
        if (token.size() >= 8) {
            std::memcpy(&head, token.data(), 8);
            std::memcpy(&tail, token.data() + token.size() - 8, 8);
        } else {
            std::memcpy(&head, token.data(), token.size());
        }
        std::uint64_t hash = (head ^ (tail * 0x9e3779b97f4a7c15ull) ^ token.size()) * 0xbf58476d1ce4e5b9ull;
        return static_cast<std::size_t>(hash >> 54) % kSlots;
    }

    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
};

// The sound name a line holding "noise" gives, custom or stock, or "" when it
// gives none.
std::string_view SoundNameOf(std::string_view line)
{
    const std::size_t slash = line.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::size_t start = FindTokenStart(line, slash, '"');
    if (start == kNoPosition)
        return {};
    const std::size_t end = FindTokenEnd(line, start, '"');
    if (end == kNoPosition)
        return {};
    return line.substr(start, end - start);
}

// The lists a scan adds names to: the level's custom names, and the game's
// own that it uses.
struct NameLists {
    ResourceList& textures;
    ResourceList& sounds;
    ResourceList& stockTextures;
    ResourceList& stockSounds;
};

// Takes the marks of a level's text line by line, from line `first` on, and
// adds what each line names to the lists: its texture from line `faces` on,
// its sound when asked.
class NameCollector {
public:
    NameCollector(const LevelLines& lines, NameLists lists, std::size_t first, std::size_t faces, bool sounds)
        : lists_(lists), lines_(lines), faces_(faces), sounds_(sounds), line_(first)
    {
        nextStart_ = NextStart();
    }

    void mark(std::size_t at, Mark kind)
    {
        if (at >= nextStart_)
            moveTo(at);
        marked_ = true;
        if (kind == Mark::Quote)
            quoted_ = true;
        else if (kind == Mark::Slash)
            slash_ = std::min(slash_, at);
        else
            noisy_ = true;
    }

    // After the last mark.
    void finish() { collect(); }

private:
    std::size_t NextStart() const
    {
        return line_ + 1 < lines_.size() ? lines_.startOf(line_ + 1) : std::string_view::npos;
    }

    // Leaves the line marked so far for the one that holds `at`.
    void moveTo(std::size_t at)
    {
        collect();
        do
            ++line_;
        while (line_ + 1 < lines_.size() && lines_.startOf(line_ + 1) <= at);
        nextStart_ = NextStart();
        marked_ = quoted_ = noisy_ = false;
        slash_ = std::string_view::npos;
    }

    // What the marked line names goes to the lists.
    void collect()
    {
        if (!marked_)
            return;
        const std::string_view line = lines_[line_];
        if (noisy_ && sounds_) {
            const std::string_view sound = SoundNameOf(line);
            ResourceList& list = IsStockSound(sound) ? lists_.stockSounds : lists_.sounds;
            if (!sound.empty() && !list.contains(sound))
                list.add(std::string(sound));
        }
        if (line_ < faces_ || quoted_ || slash_ == std::string_view::npos)
            return;
        std::string_view token;
        // A level uses few textures: most tokens are known, as listed or as
        // the game's own, without building the name and asking the list.
        if (!TextureTokenOf(line, slash_ - lines_.startOf(line_), token) || known_.contains(token))
            return;
        known_.remember(token);
        // A token and its name with ".wal" are the game's own alike.
        ResourceList& list = IsStockTexture(token) ? lists_.stockTextures : lists_.textures;
        name_.assign(token).append(".wal");
        if (!list.contains(name_))
            list.add(name_);
    }

    NameLists lists_;
    const LevelLines& lines_;
    std::size_t faces_;
    bool sounds_;
    std::size_t line_;       // the line the marks are on
    std::size_t nextStart_;  // where the next line starts (npos after the last)
    bool marked_ = false;
    bool quoted_ = false;
    bool noisy_ = false;
    std::size_t slash_ = std::string_view::npos;  // the line's first slash in the text
    KnownTokens known_;
    std::string name_;
};

// Adds the names of lines [first, end) to the lists.
void CollectPart(const LevelLines& lines, std::size_t first, std::size_t end, std::size_t faces, bool sounds,
                 NameLists lists)
{
    NameCollector collector(lines, lists, first, faces, sounds);
    const std::size_t to = end < lines.size() ? lines.startOf(end) : lines.text().size();
    ForEachMark(lines.text(), lines.startOf(first), to, sounds,
                [&collector](std::size_t at, Mark kind) { collector.mark(at, kind); });
    collector.finish();
}

// A text at least this big is scanned in two halves at once, where the
// machine has a second processor.
constexpr std::size_t kHalvesFrom = 8 * 1024 * 1024;

// The scans' one pass over the text: textures, sounds or both.
void Collect(LoadedLevel& level, bool textures, bool sounds)
{
    const LevelLines& lines = level.MapLines;
    const std::size_t count = lines.size();
    std::size_t faces = count;  // texture names are taken from this line on
    if (textures) {
        faces = 1;
        while (faces < count && lines[faces].find('{') == std::string_view::npos)
            ++faces;
        if (faces >= count)
            throw Error(kListIndexOutOfBounds);
    }
    const std::size_t first = sounds ? 0 : faces;
    if (first >= count)
        return;
    const NameLists lists{level.TextureList, level.SoundList, level.StockTextures, level.StockSounds};
    const std::size_t size = lines.text().size() - lines.startOf(first);
    if (size < kHalvesFrom || std::thread::hardware_concurrency() < 2) {
        CollectPart(lines, first, count, faces, sounds, lists);
        return;
    }
    // The second half goes to lists of its own, whose names are then added
    // after the first half's: each name comes in the order of its first
    // line, as from one pass.
    std::size_t middle = first, last = count;  // the first line that starts past the text's middle
    const std::size_t half = lines.startOf(first) + size / 2;
    while (middle < last) {
        const std::size_t probe = middle + (last - middle) / 2;
        if (lines.startOf(probe) < half)
            middle = probe + 1;
        else
            last = probe;
    }
    ResourceList laterTextures, laterSounds, laterStockTextures, laterStockSounds;
    std::future<void> later = std::async(std::launch::async, [&] {
        CollectPart(lines, middle, count, faces, sounds,
                    {laterTextures, laterSounds, laterStockTextures, laterStockSounds});
    });
    CollectPart(lines, first, middle, faces, sounds, lists);
    later.get();
    for (const auto& [from, to] : {std::pair<const ResourceList&, ResourceList&>{laterTextures, lists.textures},
                                   {laterSounds, lists.sounds},
                                   {laterStockTextures, lists.stockTextures},
                                   {laterStockSounds, lists.stockSounds}}) {
        for (const std::string& name : from)
            to.add(name);
    }
}

}  // namespace

std::size_t FindTokenStart(std::string_view line, std::size_t pos, char delimiter)
{
    if (pos == 0 || pos > line.size())
        return kNoPosition;
    const char* const found = FindLastByte(line.data(), line.data() + pos, delimiter);
    return found == nullptr ? kNoPosition : static_cast<std::size_t>(found - line.data()) + 1;
}

std::size_t FindTokenEnd(std::string_view line, std::size_t pos, char delimiter)
{
    if (pos >= line.size())
        return kNoPosition;
    const char* const end = line.data() + line.size();
    const char* const found = FindByte(line.data() + pos + 1, end, delimiter);
    return found == end ? kNoPosition : static_cast<std::size_t>(found - line.data());
}

bool IsStockTexture(std::string_view name)
{
    // The game's folders: e1u1..e1u4, e2u1..e2u3, e3u1..e3u3.
    if (name.size() < 4 || name[0] != 'e' || name[2] != 'u')
        return false;
    const char episode = name[1];
    const char unit = name[3];
    const char lastUnit = episode == '1' ? '4' : '3';
    return episode >= '1' && episode <= '3' && unit >= '1' && unit <= lastUnit;
}

bool IsStockSound(std::string_view name)
{
    return name.substr(0, 5) == "world";
}

void CollectTextures(LoadedLevel& level)
{
    Collect(level, true, false);
}

void CollectSounds(LoadedLevel& level)
{
    Collect(level, false, true);
}

void CollectTexturesAndSounds(LoadedLevel& level)
{
    Collect(level, true, true);
}

void ScanTextures(LoadedLevel& level)
{
    CollectTextures(level);
    level.TextureList.sort();
    level.StockTextures.sort();
}

void ScanSounds(LoadedLevel& level)
{
    CollectSounds(level);
    level.SoundList.sort();
    level.StockSounds.sort();
}

void ScanTexturesAndSounds(LoadedLevel& level)
{
    CollectTexturesAndSounds(level);
    level.TextureList.sort();
    level.StockTextures.sort();
    level.SoundList.sort();
    level.StockSounds.sort();
}

}  // namespace corvane
