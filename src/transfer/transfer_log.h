#pragma once
// The report lines of one transfer, in the order of the work.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr const char* kCheckEntities = "*?*?* Check your entities in your map file. *?*?*";

// A step of a transfer that failed: the file or folder, and why.
struct TransferFailure {
    std::string path;
    std::string reason;  // such as "No space left on device"

    bool operator==(const TransferFailure&) const = default;
};

// Something a transfer left out that a release needs: a file not in the
// working tree, or a name it refused (with the reason).
struct TransferProblem {
    enum class Kind { Missing, Refused, RefusedSky };
    Kind kind = Kind::Missing;
    std::string name;    // the source's full path (Missing), the name as the level writes it (Refused*)
    std::string reason;  // why a name is refused

    bool operator==(const TransferProblem&) const = default;
};

// The report of one transfer: its lines, in the order of the work, and the
// failures and the other problems among them with their reasons.
class TransferLog {
public:
    // Called with each line as it is appended, for front ends that show the
    // log while the work runs.
    using Listener = std::function<void(const std::string& line)>;

    void clear()
    {
        lines_.clear();
        failures_.clear();
        problems_.clear();
    }
    void append(std::string line);

    // What a report block says under its label.
    enum class Hint { CheckEntities, None };
    // Appends the block that reports a failure or a refusal: a blank line,
    // the hint to check the level's entities (unless Hint::None), the label,
    // the name indented, and a blank line again.
    void appendReport(std::string_view label, std::string_view name, Hint hint = Hint::CheckEntities);
    const std::vector<std::string>& lines() const { return lines_; }

    // Notes a failed step; the lines that report it are appended on their own.
    void recordFailure(std::string path, std::string reason);
    const std::vector<TransferFailure>& failures() const { return failures_; }

    // Notes a file that is missing or a name that was refused; the lines
    // that report it are appended on their own.
    void recordProblem(TransferProblem::Kind kind, std::string name, std::string reason = {});
    const std::vector<TransferProblem>& problems() const { return problems_; }
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    std::vector<std::string> lines_;
    std::vector<TransferFailure> failures_;
    std::vector<TransferProblem> problems_;
    Listener listener_;
};

}  // namespace corvane
