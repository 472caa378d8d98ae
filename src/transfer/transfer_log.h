#pragma once
// The report lines of one transfer, in the order of the work.

#include <functional>
#include <string>
#include <vector>

namespace corvane {

class TransferLog {
public:
    // Called with each line as it is appended, for front ends that show the
    // log while the work runs.
    using Listener = std::function<void(const std::string& line)>;

    void clear() { lines_.clear(); }
    void append(std::string line);
    const std::vector<std::string>& lines() const { return lines_; }
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    std::vector<std::string> lines_;
    Listener listener_;
};

}  // namespace corvane
