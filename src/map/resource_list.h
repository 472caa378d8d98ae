#pragma once
// A level's list of custom resource names: each name once (exact, case-sensitive),
// in the order they were added until it is sorted. An index beside the list
// answers "is it there already?" without walking the list.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Puts names into ascending order by unsigned byte-by-byte comparison; a prefix
// sorts before the longer name ("B/z" < "a/y" < "b/x"; "." and "/" before
// digits and letters).
void SortResourceList(std::vector<std::string>& names);

class ResourceList {
public:
    using const_iterator = std::vector<std::string>::const_iterator;

    const std::vector<std::string>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& operator[](std::size_t index) const { return entries_[index]; }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

    bool contains(std::string_view name) const;
    // Appends the name unless the list holds it already; true when appended.
    bool add(std::string name);
    void sort();
    // Deletes every entry that equals the one before it; returns how many.
    std::size_t removeAdjacentRepeats();
    void clear();

private:
    // The index: an open-addressed table of positions in entries_, with a
    // power-of-two size kept at most half full. A slot holds the entry's
    // position + 1 (0 when empty) and the high half of the name's hash.
    struct Slot {
        std::uint32_t entry = 0;
        std::uint32_t tag = 0;
    };
    std::size_t find(std::string_view name, std::uint64_t hash) const;
    void place(std::uint32_t entry, std::uint64_t hash);
    void reindex();

    std::vector<std::string> entries_;
    std::vector<Slot> slots_;
};

}  // namespace corvane
