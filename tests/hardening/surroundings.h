#pragma once
// What the file system around a transfer looks like, so a test can show that
// a run changed nothing it had no business changing.

#include <map>
#include <string>
#include <vector>

namespace corvane::test {

// Every entry below a folder (links not followed), by path relative to it:
// its kind, its permission bits, its size, its modification time and, for a
// file, a fingerprint of its content, or for a link, where it points.
class Snapshot {
public:
    explicit Snapshot(const std::string& root);

    // The relative paths that differ between the two snapshots (added, removed
    // or changed), leaving out those that begin with one of `ignored`.
    std::vector<std::string> changesSince(const Snapshot& before,
                                          const std::vector<std::string>& ignored = {}) const;

private:
    std::map<std::string, std::string> entries_;
};

// The relative paths below `root` whose last component looks like a
// temporary file left by an interrupted copy.
std::vector<std::string> LeftoverTemporaries(const std::string& root);

}  // namespace corvane::test
