#include "map/resource_list.h"

#include <algorithm>
#include <cstring>

namespace corvane {

void SortResourceList(std::vector<std::string>& names)
{
    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned values: exactly the order wanted, with prefixes first.
    std::sort(names.begin(), names.end());
}

namespace {

// A quick hash of a name, eight bytes at a time: names are short, and the
// scans look up one for nearly every face of a level.
std::uint64_t HashName(std::string_view name)
{
    constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ull;
    std::uint64_t hash = name.size() * kMultiplier;
    const char* data = name.data();
    std::size_t left = name.size();
    while (left >= 8) {
        std::uint64_t word;
        std::memcpy(&word, data, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
        data += 8;
        left -= 8;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, data, left);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    }
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

std::uint32_t TagOf(std::uint64_t hash)
{
    return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

// The slot that holds `name`, or the empty slot where it would go.
std::size_t ResourceList::find(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.entry == 0 || (slot.tag == TagOf(hash) && entries_[slot.entry - 1] == name))
            return at;
    }
}

void ResourceList::place(std::uint32_t entry, std::uint64_t hash)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].entry != 0)
        at = (at + 1) & mask;
    slots_[at] = Slot{entry, TagOf(hash)};
}

void ResourceList::reindex()
{
    std::size_t size = 16;
    while (size < 2 * (entries_.size() + 1))
        size *= 2;
    slots_.assign(size, Slot{});
    for (std::size_t i = 0; i < entries_.size(); ++i)
        place(static_cast<std::uint32_t>(i + 1), HashName(entries_[i]));
}

bool ResourceList::contains(std::string_view name) const
{
    return !slots_.empty() && slots_[find(name, HashName(name))].entry != 0;
}

bool ResourceList::add(std::string name)
{
    const std::uint64_t hash = HashName(name);
    if (!slots_.empty() && slots_[find(name, hash)].entry != 0)
        return false;
    entries_.push_back(std::move(name));
    if (2 * (entries_.size() + 1) > slots_.size())
        reindex();
    else
        place(static_cast<std::uint32_t>(entries_.size()), hash);
    return true;
}

void ResourceList::sort()
{
    SortResourceList(entries_);
    reindex();
}

void ResourceList::clear()
{
    entries_.clear();
    slots_.clear();
}

std::size_t ResourceList::removeAdjacentRepeats()
{
    const auto last = std::unique(entries_.begin(), entries_.end());
    const auto removed = static_cast<std::size_t>(entries_.end() - last);
    entries_.erase(last, entries_.end());
    if (removed > 0)
        reindex();
    return removed;
}

}  // namespace corvane
