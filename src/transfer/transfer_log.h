#pragma once
// The report lines of one transfer, in the order of the work.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr const char* kCheckEntities = "*?*?* Check your entities in your map file. *?*?*";

class TransferLog {
public:
    // Called with each line as it is appended, for front ends that show the
    // log while the work runs.
    using Listener = std::function<void(const std::string& line)>;

    void clear() { lines_.clear(); }
    void append(std::string line);

    // What a report block says under its label.
    enum class Hint { CheckEntities, None };
    // Appends the block that reports a failure or a refusal: a blank line,
    // the hint to check the level's entities (unless Hint::None), the label,
    // the name indented, and a blank line again.
    void appendReport(std::string_view label, std::string_view name, Hint hint = Hint::CheckEntities);
    const std::vector<std::string>& lines() const { return lines_; }
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    std::vector<std::string> lines_;
    Listener listener_;
};

}  // namespace corvane
