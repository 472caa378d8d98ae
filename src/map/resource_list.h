#pragma once
// A level's list of custom resource names: each name once (exact, case-sensitive),
// in the order they were added until it is sorted. An index beside the list
// answers "is it there already?" without walking the list.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
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
    void sort() { SortResourceList(entries_); }
    // Deletes every entry that equals the one before it; returns how many.
    std::size_t removeAdjacentRepeats();
    void clear();

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept
        {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::vector<std::string> entries_;
    std::unordered_set<std::string, Hash, std::equal_to<>> index_;
};

}  // namespace corvane
