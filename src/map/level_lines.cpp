#include "map/level_lines.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <future>
#include <thread>
#include <utility>

#include "map/byte_search.h"
#include "platform/file_view.h"

namespace corvane {

std::uint64_t LineStarts::Wraps(std::size_t index) const
{
    return static_cast<std::uint64_t>(std::upper_bound(wraps_.begin(), wraps_.end(), index) - wraps_.begin());
}

void LineStarts::append(const LineStarts& later)
{
    const std::size_t before = low_.size();
    low_.insert(low_.end(), later.low_.begin(), later.low_.end());
    // Multiples of 4 GiB that `later` passed and these starts had not.
    for (std::size_t k = wraps_.size(); k < later.wraps_.size(); ++k)
        wraps_.push_back(before + later.wraps_[k]);
}

void LineStarts::clear()
{
    low_.clear();
    low_.shrink_to_fit();
    wraps_.clear();
    wraps_.shrink_to_fit();
}

namespace {

// One bit for each byte of a 64-byte block that is an LF, a CR or a NUL: the
// only bytes the split has to look at.
std::uint64_t BreaksIn64(const char* block)
{
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    std::uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)),
                                          _mm_cmpeq_epi8(bytes, nul));
        mask |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(hits))) << (16 * part);
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) {
        const char c = block[i];
        if (c == '\n' || c == '\r' || c == '\0')
            mask |= std::uint64_t{1} << i;
    }
    return mask;
#endif
}

// The same for the last `count` (< 64) bytes of a text.
std::uint64_t BreaksInTail(const char* block, std::size_t count)
{
    char padded[64];
    std::memset(padded, 'x', sizeof padded);
    std::memcpy(padded, block, count);
    return BreaksIn64(padded);
}

// Bytes looked at between two calls of the `ahead` step of SplitRange.
constexpr std::size_t kStretch = 1024 * 1024;

// Records where each line that starts in text[from, to) starts, and returns
// where the text proper ends in there: at its first NUL, or `to`. The text
// holds `size` bytes (a CR at the end of the range is taken with an LF after
// it). Before each stretch of the range is looked at, `ahead(offset, length)`
// is called for it; once `stop` is set, the rest of the range is left alone.
// `room` is how many bytes of text the starts are to find room for.
template <typename Starts, typename Ahead>
std::size_t SplitRange(const char* text, std::size_t from, std::size_t to, std::size_t size, std::size_t room,
                       Starts& starts, Ahead& ahead, const std::atomic<bool>* stop)
{
    if (from >= to)
        return to;
    ahead(from, std::min(to - from, kStretch));
    if (text[from] == '\0')
        return from;
    starts.push_back(from);
    std::size_t skip = from;  // an LF before this has been taken with its CR
    bool estimated = false;
    for (std::size_t block = from; block < to; block += 64) {
        if ((block - from) % kStretch == 0 && block > from) {
            if (stop && stop->load(std::memory_order_relaxed))
                return to;
            ahead(block, std::min(to - block, kStretch));
            if (!estimated && starts.size() > 16) {
                // Room for as many lines as the first stretch suggests, with
                // some to spare, so that the starts are rarely moved.
                estimated = true;
                const double perByte = static_cast<double>(starts.size()) / static_cast<double>(block - from);
                starts.reserve(static_cast<std::size_t>(perByte * 1.125 * static_cast<double>(room)) + 16);
            }
        }
        if (to - block > kFetchAhead)
            FetchAhead(text + block + kFetchAhead);
        std::uint64_t mask = to - block >= 64 ? BreaksIn64(text + block) : BreaksInTail(text + block, to - block);
        while (mask != 0) {
            const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(mask));
            mask &= mask - 1;
            if (at < skip)
                continue;
            if (text[at] == '\0')
                return at;
            std::size_t next = at + 1;
            if (text[at] == '\r' && next < size && text[next] == '\n')
                ++next;
            skip = next;
            if (next >= to)
                return to;
            if (text[next] == '\0')
                return next;
            starts.push_back(next);
        }
    }
    return to;
}

// A text at least this big is split in two halves at once, where the machine
// has a second processor.
constexpr std::size_t kHalvesFrom = 8 * 1024 * 1024;

// The starts of the second half, kept in pieces of a fixed size until they
// join the first half's: no piece is ever moved, so the heap never holds a
// grown copy beside the old one, however far off a guess of their number.
class StartPieces {
public:
    std::size_t size() const { return pieces_.empty() ? 0 : (pieces_.size() - 1) * kPiece + pieces_.back().size(); }
    void reserve(std::size_t) {}
    void push_back(std::size_t start)
    {
        if (pieces_.empty() || pieces_.back().size() == kPiece) {
            pieces_.emplace_back();
            pieces_.back().reserve(kPiece);
        }
        pieces_.back().push_back(start);
    }
    void appendTo(LineStarts& starts) const
    {
        for (const LineStarts& piece : pieces_)
            starts.append(piece);
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;
    std::vector<LineStarts> pieces_;
};

// Records where each line of `text` starts and returns the length of the
// text proper: up to its first NUL, or all of it.
template <typename Ahead>
std::size_t SplitText(const char* text, std::size_t size, LineStarts& starts, Ahead ahead)
{
    if (size < kHalvesFrom || std::thread::hardware_concurrency() < 2)
        return SplitRange(text, 0, size, size, size, starts, ahead, nullptr);
    // The second half begins with the first line that starts past the middle
    // (looked for a stretch at most: a line that long is split as one).
    std::size_t at = size / 2;
    const std::size_t limit = std::min(size, at + kStretch);
    while (at < limit && text[at] != '\n' && text[at] != '\r' && text[at] != '\0')
        ++at;
    std::size_t second = at + 1;
    if (at < size && text[at] == '\r' && second < size && text[second] == '\n')
        ++second;
    if (at == limit || text[at] == '\0' || second >= size)
        return SplitRange(text, 0, size, size, size, starts, ahead, nullptr);
    // A NUL in the first half ends the text: the second half's split then
    // stops as soon as it sees that, and what it found is dropped.
    StartPieces later;
    std::atomic<bool> stop{false};
    std::future<std::size_t> split = std::async(std::launch::async, [&] {
        return SplitRange(text, second, size, size, size - second, later, ahead, &stop);
    });
    const std::size_t end = SplitRange(text, 0, second, size, size, starts, ahead, nullptr);
    stop = end < second;
    const std::size_t laterEnd = split.get();
    if (end < second)
        return end;
    later.appendTo(starts);
    return laterEnd;
}

struct NothingAhead {
    void operator()(std::size_t, std::size_t) const {}
};

}  // namespace

LevelLines::LevelLines(LevelLines&& other) noexcept
    : holder_(std::move(other.holder_)),
      text_(std::exchange(other.text_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      starts_(std::move(other.starts_))
{
    other.starts_.clear();
}

LevelLines& LevelLines::operator=(LevelLines&& other) noexcept
{
    if (this != &other) {
        holder_ = std::move(other.holder_);
        text_ = std::exchange(other.text_, nullptr);
        size_ = std::exchange(other.size_, 0);
        starts_ = std::move(other.starts_);
        other.starts_.clear();
    }
    return *this;
}

LevelLines LevelLines::FromText(std::string_view text)
{
    LevelLines result;
    const void* nul = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
    const std::size_t size = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()) : text.size();
    std::shared_ptr<char[]> buffer(std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(size, 1)));
    if (size > 0)
        std::memcpy(buffer.get(), text.data(), size);
    result.text_ = buffer.get();
    result.holder_ = std::move(buffer);
    result.size_ = SplitText(result.text_, size, result.starts_, NothingAhead{});
    return result;
}

void LevelLines::clear()
{
    holder_.reset();
    text_ = nullptr;
    size_ = 0;
    starts_.clear();
}

LevelRead ReadLevelLines(const std::string& path)
{
    LevelRead result;
    FileViewResult opened = FileView::Open(path);
    if (!opened.view) {
        result.error = std::move(opened.error);
        return result;
    }
    const FileView& file = *opened.view;
    LevelLines& lines = result.lines;
    lines.text_ = file.data();
    lines.size_ = SplitText(file.data(), file.size(), lines.starts_,
                            [&file](std::size_t offset, std::size_t length) { file.willRead(offset, length); });
    if (file.changed()) {
        // Cut short or rewritten while it was split: what was read is not the level.
        lines.clear();
        result.error = kLevelChangedWhileRead;
        return result;
    }
    lines.holder_ = std::move(opened.view);
    result.ok = true;
    return result;
}

}  // namespace corvane
