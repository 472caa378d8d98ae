#include "map/resource_list.h"

#include <algorithm>

namespace corvane {

void SortResourceList(std::vector<std::string>& names)
{
    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned values: exactly the order wanted, with prefixes first.
    std::sort(names.begin(), names.end());
}

bool ResourceList::contains(std::string_view name) const
{
    return index_.find(name) != index_.end();
}

bool ResourceList::add(std::string name)
{
    if (contains(name))
        return false;
    index_.insert(name);
    entries_.push_back(std::move(name));
    return true;
}

void ResourceList::clear()
{
    entries_.clear();
    index_.clear();
}

std::size_t ResourceList::removeAdjacentRepeats()
{
    const auto last = std::unique(entries_.begin(), entries_.end());
    const auto removed = static_cast<std::size_t>(entries_.end() - last);
    entries_.erase(last, entries_.end());
    return removed;
}

}  // namespace corvane
