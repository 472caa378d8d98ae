#pragma once
// The overwrite question and the answer state that decides when to ask it.

#include <functional>
#include <string>

#include "transfer/host.h"

namespace corvane {

// The last answer given in the current scope; Yes means "ask".
struct OverwritePolicy {
    OverwriteAnswer value = OverwriteAnswer::Yes;

    // Begins a new scope.
    void reset() { value = OverwriteAnswer::Yes; }

    // Decides for a target that exists: asks through `ask` while the value is
    // Yes or No and keeps the answer. True when the target is to be replaced.
    bool allowsOverwrite(const std::function<OverwriteAnswer()>& ask);
};

// The seven lines of the overwrite question for `target` and `source`.
std::vector<std::string> OverwritePromptLines(const std::string& target, const std::string& source);

// Asks whether `target` is to be replaced by `source`.
OverwriteAnswer OverwritePrompt(Host& host, const std::string& target, const std::string& source,
                                const std::string& caption, PromptButtons buttons);

}  // namespace corvane
